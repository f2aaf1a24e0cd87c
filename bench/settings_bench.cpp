// The settings file at sizes far beyond the usual: the set-up adding or counting 10,000 tips
// (a whole stripewright-setup process), and the window's start-up and close on a settings file
// of 50 MB (a million sections besides its own), each also at half the size, so that the two
// rows show whether the time grows in proportion.
//
// With SW_BASELINE_SETUP_EXE naming another build's stripewright-setup, the set-up rows run it
// too (Baseline_...), side by side in one run. The window rows run in this process; for a
// baseline, build this file against the other commit.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/program.h"
#include "encoder_process.h"
#include "platform/paths.h"
#include "support/fake_desktop.h"

namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

QByteArray Tip(int i) {
    return "Tip number " + QByteArray::number(i) + ": a line of text as long as a real tip is.";
}

// A data folder with `tips` tips, the label templates and the fonts of this build, and a
// documents folder with the program folder.
class SetupHome {
  public:
    explicit SetupHome(int tips) {
        data = dir.path() + "/share";
        QDir().mkpath(data);
        QByteArray list;
        for (int i = 0; i < tips; ++i) list += Tip(i) + '\n';
        WriteFile(data + "/tips.txt", list);
        Copy(SW_TEMPLATE_DIR, data + "/templates");
        Copy(SW_FONT_DIR, data + "/fonts");
        settings = sw::platform::SettingsFilePath(dir.path() + "/Documents", "stripewright");
        QDir().mkpath(sw::platform::ProgramFolderPath(dir.path() + "/Documents"));
    }
    static void Copy(const QString& from, const QString& to) {
        QDir().mkpath(to);
        for (const QFileInfo& file : QDir(from).entryInfoList(QDir::Files))
            QFile::copy(file.filePath(), to + "/" + file.fileName());
    }
    // The command line of one run of `exe` (without fc-cache on the path, so that no font cache
    // is rebuilt).
    std::string Command(const char* exe) const {
        return "PATH=/nonexistent exec '" + std::string(exe) + "' --quiet --data '" +
               data.toStdString() + "' --documents '" + dir.path().toStdString() +
               "/Documents' --fonts '" + dir.path().toStdString() + "/fonts'";
    }

    QTemporaryDir dir;
    QString data;
    QString settings;
};

// `adding`: the file holds the user's settings only, and the set-up adds every tip; else it
// holds the tips without the switch, and the set-up counts them.
void RunSetup(benchmark::State& state, const char* exe, bool adding) {
    const int tips = static_cast<int>(state.range(0));
    SetupHome home(tips);
    QByteArray start = "[Settings]\nData=mine\n";
    if (!adding) {
        start += "[Tips]\n";
        for (int i = 0; i < tips; ++i) start += QByteArray::number(i) + '=' + Tip(i) + '\n';
    }
    const std::string command = home.Command(exe);
    sw::bench::RunOnce(command);  // the templates and fonts are in place from here on
    for (auto _ : state) {
        state.PauseTiming();
        WriteFile(home.settings, start);
        state.ResumeTiming();
        if (sw::bench::RunOnce(command) < 0) {
            state.SkipWithError("the set-up failed");
            break;
        }
    }
}

void Setup_AddsTips(benchmark::State& state) {
    RunSetup(state, SW_SETUP_EXE, true);
}
void Setup_CountsTips(benchmark::State& state) {
    RunSetup(state, SW_SETUP_EXE, false);
}
void Baseline_Setup_AddsTips(benchmark::State& state) {
    if (const char* exe = std::getenv("SW_BASELINE_SETUP_EXE"))
        RunSetup(state, exe, true);
    else
        state.SkipWithError("SW_BASELINE_SETUP_EXE is not set");
}
void Baseline_Setup_CountsTips(benchmark::State& state) {
    if (const char* exe = std::getenv("SW_BASELINE_SETUP_EXE"))
        RunSetup(state, exe, false);
    else
        state.SkipWithError("SW_BASELINE_SETUP_EXE is not set");
}

// The window's start-up (restore, run counter written, tips off) and close (the state written)
// on a settings file of about `range(0)` MB: the program's own sections first, then sections
// of 50 bytes each.
void Window_StartAndClose(benchmark::State& state) {
    const qsizetype megabytes = state.range(0);
    QTemporaryDir dir;
    const QString documents = dir.path() + "/Documents";
    QDir().mkpath(sw::platform::ProgramFolderPath(documents));
    const QString path = sw::platform::SettingsFilePath(documents, "stripewright");
    QByteArray file =
        "[TipoftheDay]\nEnabled=0\nPosition=0\nMaximum=0\n[Tips]\n0=A tip.\n"
        "[Settings]\nCount=5\nInstDt=2612\nType=39\nData=1234ABCD\nFontSize=N\nPointSize=24\n";
    file.reserve(megabytes * 1000000 + 100);
    for (int i = 0; file.size() < megabytes * 1000000; ++i)
        file += "[Other" + QByteArray::number(i) + "]\nKey=a value of some length here\n";
    const qsizetype sections = file.count('[');
    sw::testing::FakeDesktop desktop;
    desktop.documents = documents;
    for (auto _ : state) {
        state.PauseTiming();
        WriteFile(path, file);
        state.ResumeTiming();
        auto program = std::make_unique<sw::Program>(desktop);
        program->Form1.FormActivate();
        program->Form1.BarTextInput->setText(QStringLiteral("CHANGED"));
        program->Form1.close();
        program.reset();
    }
    state.counters["sections"] = static_cast<double>(sections);
}

}  // namespace

BENCHMARK(Setup_AddsTips)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Baseline_Setup_AddsTips)
    ->Arg(5000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);
BENCHMARK(Setup_CountsTips)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Baseline_Setup_CountsTips)
    ->Arg(5000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);
BENCHMARK(Window_StartAndClose)
    ->Arg(25)
    ->Arg(50)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

int main(int argc, char** argv) {
    // Headless unless the caller says otherwise.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
