// The window program's speed: start-up to an idle main window, side by side with a bare Qt
// window, and Make on a long Code 3 of 9 input with the preview drawn.
//
// Start-up is measured twice. "Process" runs this program again as a child in one of two
// modes (bare window, or the program with tips off and a settings file present) and times it
// from launch until it has shown its window, run its start-up and gone idle; that is what a
// user waits for. "InProcess" times only the windows' creation and start-up, without the
// application's own initialisation, which the two share.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <cstring>
#include <memory>

#include "app/program.h"
#include "fonts/barcode_fonts.h"
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
    sw::platform::Application app(argc, argv, desktop);
    std::unique_ptr<QWidget> bare;
    std::unique_ptr<sw::Program> program;
    if (std::strcmp(mode, "bare") == 0) {
        bare = std::make_unique<QWidget>();
        bare->resize(416, 390);
        bare->setWindowTitle(QStringLiteral("Bare"));
        bare->show();
    } else {
        sw::RegisterBarcodeFonts();
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
    QTimer::singleShot(0, &app, [] { QTimer::singleShot(0, qApp, &QCoreApplication::quit); });
    return app.exec();
}

QString g_self;

void RunChildProcess(benchmark::State& state, const char* mode) {
    BenchHome home(QFileInfo(g_self).fileName());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home.dir.path());
    env.insert("XDG_CONFIG_HOME", home.dir.path() + "/.config");
    if (!env.contains("QT_QPA_PLATFORM"))
        env.insert("QT_QPA_PLATFORM", "offscreen");
    for (auto _ : state) {
        QProcess child;
        child.setProcessEnvironment(env);
        child.start(g_self, {QStringLiteral("--child"), QString::fromLatin1(mode)});
        if (!child.waitForFinished(30000) || child.exitCode() != 0) {
            state.SkipWithError("the child did not start up");
            break;
        }
    }
}

void BM_StartupProcess_BareQtWindow(benchmark::State& state) {
    RunChildProcess(state, "bare");
}
void BM_StartupProcess_Stripewright(benchmark::State& state) {
    RunChildProcess(state, "program");
}
BENCHMARK(BM_StartupProcess_BareQtWindow)->Unit(benchmark::kMillisecond)->Iterations(30);
BENCHMARK(BM_StartupProcess_Stripewright)->Unit(benchmark::kMillisecond)->Iterations(30);

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
