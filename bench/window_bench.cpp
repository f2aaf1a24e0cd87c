// The window program's speed: start-up to an idle main window, side by side with a bare Qt
// window, and Make on a long Code 3 of 9 input with the preview drawn.
//
// Start-up is measured three ways. "Process" runs this program again as a child in one of three
// modes (bare window, bare window with one line of text, or the program with tips off and a
// settings file present) and times it
// from launch until it has shown its window, run its start-up and gone idle; that is what a
// user waits for. "OnX" runs the same children on an X server of their own (Xvfb, no window
// manager) and times them from launch until the X server maps their window, that is until the
// window appears. "InProcess" times only the windows' creation and start-up, without the
// application's own initialisation, which the two share.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#ifdef SW_BENCH_XCB
#include <xcb/xcb.h>
#endif

#include "app/program.h"
#include "platform/handlers.h"
#include "platform/paths.h"
#include "support/fake_desktop.h"

namespace {

const QByteArray kSettings =
    "[TipoftheDay]\nEnabled=0\nPosition=0\nMaximum=0\n[Tips]\n0=A tip.\n"
    "[Settings]\nCount=5\nInstDt=2612\nType=39\nData=1234ABCD\nFontSize=N\nPointSize=24\n";

// A home folder with the program folder and a settings file, tips switched off. The file is
// named after the program that reads it: the child processes are this program.
class BenchHome {
  public:
    explicit BenchHome(const QString& executable = QStringLiteral("stripewright")) {
        documents = dir.path() + "/Documents";
        QDir().mkpath(sw::platform::ProgramFolderPath(documents));
        QFile file(sw::platform::SettingsFilePath(documents, executable));
        if (file.open(QIODevice::WriteOnly))
            file.write(kSettings);
    }
    QTemporaryDir dir;
    QString documents;
};

// Child mode: start up, go idle, quit.
int RunChild(int argc, char** argv, const char* mode) {
    sw::platform::Desktop& desktop = sw::platform::SystemDesktop();
    const bool isBare = std::strcmp(mode, "bare") == 0 || std::strcmp(mode, "text") == 0;
    // The baseline is a plain application object: nothing of ours runs in it.
    std::unique_ptr<QApplication> app;
    if (isBare)
        app = std::make_unique<QApplication>(argc, argv);
    else
        app = std::make_unique<sw::platform::Application>(argc, argv, desktop);
    std::unique_ptr<QWidget> bare;
    std::unique_ptr<sw::Program> program;
    if (isBare) {
        bare = std::make_unique<QWidget>();
        bare->resize(416, 390);
        bare->setWindowTitle(QStringLiteral("Bare"));
        // The least a window that shows text costs over the bare one: the font database and
        // one face, one line laid out and drawn.
        if (std::strcmp(mode, "text") == 0)
            (new QLabel(QStringLiteral("Stripewright"), bare.get()))->move(8, 8);
        bare->show();
    } else {
        program = std::make_unique<sw::Program>(desktop);
        program->CentreMainWindow();
        program->Form1.show();
        QTimer::singleShot(0, &program->Form1, [&] {
            program->Form1.FormActivate();
            // A message box or dialog at start-up would mean the settings were not found.
            if (!program->Form1.FolderFound || !QApplication::topLevelWidgets().isEmpty()) {
                for (QWidget* w : QApplication::topLevelWidgets()) {
                    if (w != &program->Form1 && w->isVisible())
                        QCoreApplication::exit(3);
                }
            }
        });
    }
    // Quits once every event posted so far (showing, painting, start-up) has been handled.
    QTimer::singleShot(0, app.get(), [] { QTimer::singleShot(0, qApp, &QCoreApplication::quit); });
    return app->exec();
}

QString g_self;

// The children's environment: a home folder of their own, with the settings file.
QProcessEnvironment ChildEnvironment(const BenchHome& home) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home.dir.path());
    env.insert("XDG_CONFIG_HOME", home.dir.path() + "/.config");
    if (!env.contains("QT_QPA_PLATFORM"))
        env.insert("QT_QPA_PLATFORM", "offscreen");
    return env;
}

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// Seconds from launching a child until it has started up, gone idle and quit; 0 on failure.
double TimeToIdle(const QProcessEnvironment& env, const char* mode) {
    QProcess child;
    child.setProcessEnvironment(env);
    const auto start = std::chrono::steady_clock::now();
    child.start(g_self, {QStringLiteral("--child"), QString::fromLatin1(mode)});
    if (!child.waitForFinished(30000) || child.exitCode() != 0)
        return 0;
    return Seconds(std::chrono::steady_clock::now() - start);
}

double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// One side alone: the mean of the iterations is the figure.
void RunAlone(benchmark::State& state, const std::function<double()>& time) {
    for (auto _ : state) {
        const double seconds = time();
        if (seconds <= 0) {
            state.SkipWithError("the child did not start up");
            return;
        }
        state.SetIterationTime(seconds);
    }
}

// The bare window, the bare window with one line of text and the program launched in turn, so
// that all three meet the same load on a shared machine. The counters are the medians of each
// side's time and, round by round, of the program's time over the bare window's (`ratio`) and
// the text window's over the bare window's (`text_ratio`, the part of the ratio that any
// window showing text pays).
void RunPaired(benchmark::State& state, const std::function<double(const char*)>& time) {
    std::vector<double> bare, text, program, ratio, textRatio;
    for (auto _ : state) {
        const double b = time("bare");
        const double t = time("text");
        const double p = time("program");
        if (b <= 0 || t <= 0 || p <= 0) {
            state.SkipWithError("the child did not start up");
            return;
        }
        bare.push_back(b);
        text.push_back(t);
        program.push_back(p);
        ratio.push_back(p / b);
        textRatio.push_back(t / b);
        state.SetIterationTime(p);
    }
    state.counters["bare_ms"] = Median(bare) * 1000;
    state.counters["text_ms"] = Median(text) * 1000;
    state.counters["program_ms"] = Median(program) * 1000;
    state.counters["ratio"] = Median(ratio);
    state.counters["text_ratio"] = Median(textRatio);
}

#ifdef SW_BENCH_XCB

// An X server of the benchmark's own, without a window manager, and a connection to it that
// watches the root window for windows being mapped.
class XServer {
  public:
    XServer() {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (xvfb.isEmpty())
            return;
        // Xvfb writes its display number to standard output once it accepts clients.
        server_.start(
            xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                   QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                   QStringLiteral("tcp")});
        QByteArray number;
        while (server_.waitForReadyRead(10000)) {
            number += server_.readAllStandardOutput();
            if (number.contains('\n'))
                break;
        }
        if (!number.contains('\n'))
            return;
        display_ = QStringLiteral(":") + QString::fromLatin1(number.trimmed());
        connection_ = xcb_connect(display_.toLatin1().constData(), nullptr);
        if (xcb_connection_has_error(connection_))
            return;
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(connection_);
        ready_ = true;
    }
    ~XServer() {
        if (connection_)
            xcb_disconnect(connection_);
        server_.terminate();
        server_.waitForFinished(5000);
    }
    bool ready() const { return ready_; }
    const QString& display() const { return display_; }

    // Drops the notifications received so far.
    void Drain() {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) std::free(event);
    }
    // Waits until a top-level window is mapped; false when none is within `seconds`.
    bool WaitForMap(int seconds) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (std::chrono::steady_clock::now() < end) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
                const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
                std::free(event);
                if (mapped)
                    return true;
            }
            if (xcb_connection_has_error(connection_))
                return false;
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        return false;
    }

  private:
    QProcess server_;
    QString display_;
    xcb_connection_t* connection_ = nullptr;
    bool ready_ = false;
};

// Seconds from launching a child on the X server until its window is mapped; 0 on failure.
// The child then finishes its start-up and quits, untimed.
double TimeToWindow(XServer& server, const QProcessEnvironment& env, const char* mode) {
    server.Drain();
    QProcess child;
    child.setProcessEnvironment(env);
    const auto start = std::chrono::steady_clock::now();
    child.start(g_self, {QStringLiteral("--child"), QString::fromLatin1(mode)});
    const bool appeared = server.WaitForMap(30);
    const double seconds = Seconds(std::chrono::steady_clock::now() - start);
    if (!appeared || !child.waitForFinished(30000) || child.exitCode() != 0)
        return 0;
    return seconds;
}

void RunOnX(benchmark::State& state, const char* mode) {
    static XServer server;
    if (!server.ready()) {
        state.SkipWithError("needs Xvfb (package xvfb)");
        return;
    }
    BenchHome home(QFileInfo(g_self).fileName());
    QProcessEnvironment env = ChildEnvironment(home);
    env.insert("DISPLAY", server.display());
    env.insert("QT_QPA_PLATFORM", "xcb");
    const auto time = [&](const char* m) { return TimeToWindow(server, env, m); };
    if (mode)
        RunAlone(state, [&] { return time(mode); });
    else
        RunPaired(state, time);
}

void BM_StartupOnX_BareQtWindow(benchmark::State& state) {
    RunOnX(state, "bare");
}
void BM_StartupOnX_Stripewright(benchmark::State& state) {
    RunOnX(state, "program");
}
void BM_StartupOnX_Paired(benchmark::State& state) {
    RunOnX(state, nullptr);
}
BENCHMARK(BM_StartupOnX_BareQtWindow)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(30);
BENCHMARK(BM_StartupOnX_Stripewright)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(30);
BENCHMARK(BM_StartupOnX_Paired)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(30);

#endif

void RunProcess(benchmark::State& state, const char* mode) {
    BenchHome home(QFileInfo(g_self).fileName());
    const QProcessEnvironment env = ChildEnvironment(home);
    const auto time = [&](const char* m) { return TimeToIdle(env, m); };
    if (mode)
        RunAlone(state, [&] { return time(mode); });
    else
        RunPaired(state, time);
}

void BM_StartupProcess_BareQtWindow(benchmark::State& state) {
    RunProcess(state, "bare");
}
void BM_StartupProcess_Stripewright(benchmark::State& state) {
    RunProcess(state, "program");
}
void BM_StartupProcess_Paired(benchmark::State& state) {
    RunProcess(state, nullptr);
}
BENCHMARK(BM_StartupProcess_BareQtWindow)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(30);
BENCHMARK(BM_StartupProcess_Stripewright)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(30);
BENCHMARK(BM_StartupProcess_Paired)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(30);

void Idle() {
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

void BM_StartupInProcess_BareQtWindow(benchmark::State& state) {
    for (auto _ : state) {
        QWidget window;
        window.resize(416, 390);
        window.show();
        window.repaint();
        Idle();
    }
}

void BM_StartupInProcess_Stripewright(benchmark::State& state) {
    BenchHome home;
    sw::testing::FakeDesktop desktop;
    desktop.documents = home.documents;
    for (auto _ : state) {
        sw::Program program(desktop);
        program.CentreMainWindow();
        program.Form1.show();
        program.Form1.FormActivate();
        program.Form1.repaint();
        Idle();
    }
}
BENCHMARK(BM_StartupInProcess_BareQtWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartupInProcess_Stripewright)->Unit(benchmark::kMillisecond);

// Make on 2,000 characters of Code 3 of 9 data, with the preview laid out and drawn.
void BM_Make2000Code39(benchmark::State& state) {
    BenchHome home;
    sw::testing::FakeDesktop desktop;
    desktop.documents = home.documents;
    sw::Program program(desktop);
    sw::TForm1& form = program.Form1;
    form.show();
    form.FormActivate();
    const QString legal = QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%");
    QString data;
    for (int i = 0; i < 2000; ++i) data += legal[i % legal.size()];
    form.BarTextInput->setText(data);
    for (auto _ : state) {
        form.MakeButtonClickClick();
        form.BarCodeOut->viewport()->repaint();
        if (!form.BarCodeMade)
            state.SkipWithError("Make failed");
    }
    state.counters["preview_chars"] = static_cast<double>(form.BarCodeOut->toPlainText().size());
}
BENCHMARK(BM_Make2000Code39)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--child") == 0)
        return RunChild(argc, argv, argv[2]);
    g_self = QString::fromLocal8Bit(argv[0]);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    g_self = QApplication::applicationFilePath();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
