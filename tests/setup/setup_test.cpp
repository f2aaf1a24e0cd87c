// The set-up's steps: the program folder, the settings file with the tips, the label templates
// and the fonts.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <algorithm>
#include <csignal>
#include <functional>

#include "barcode/catalogue.h"
#include "platform/atomic_file.h"
#include "platform/ini_file.h"
#include "setup/program_folder.h"
#include "setup/settings_file.h"
#include "setup/setup_steps.h"

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace sw::setup {
namespace {

class SetupTest : public ::testing::Test {
  protected:
    SetupTest() {
        dataFolder = dir.filePath("share");
        documentsFolder = dir.filePath("Documents");
        programFolder = documentsFolder + "/Stripewright/";
        QDir().mkpath(dataFolder);
        WriteFile(dataFolder + "/tips.txt",
                  "# comment\nFirst tip.\n\n  Second tip, with = and \"quotes\".  \nThird.\n");
        CopyFolder(SW_TEMPLATE_DIR, dataFolder + "/templates");
        CopyFolder(SW_FONT_DIR, dataFolder + "/fonts");
        userFontFolder = dir.filePath("fonts");
    }
    // Copies the files the build made, as the installation puts them into the data folder.
    static void CopyFolder(const QString& from, const QString& to) {
        QDir().mkpath(to);
        for (const QFileInfo& file : QDir(from).entryInfoList(QDir::Files)) {
            ASSERT_TRUE(QFile::copy(file.filePath(), to + "/" + file.fileName()));
        }
    }
    static void WriteFile(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QString Settings() const { return programFolder + "stripewrighttips.ini"; }
    QByteArray ReadSettings() const {
        QFile f(Settings());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    int Run() {
        const SetupContext context{
            QFile::encodeName(dataFolder), QFile::encodeName(documentsFolder),
            QFile::encodeName(programFolder), QFile::encodeName(userFontFolder)};
        QString outText, errText;
        QTextStream out(&outText), err(&errText);
        const int status = RunSetup(context, SetupSteps(), out, err);
        out.flush();
        err.flush();
        lastOut = outText;
        lastErr = errText;
        return status;
    }

    QTemporaryDir dir;
    QString dataFolder, documentsFolder, programFolder, userFontFolder;
    QString lastOut, lastErr;
};

TEST_F(SetupTest, AFreshSetupCreatesTheFolderAndTheSettingsFileWithItsTips) {
    EXPECT_EQ(Run(), 0) << lastErr.toStdString();
    EXPECT_TRUE(QFileInfo(programFolder).isDir());
    EXPECT_EQ(QDir(programFolder).entryList({"lt*.rtf"}).size(), 8);
    EXPECT_EQ(QDir(userFontFolder).entryList({"*.ttf"}).size(),
              static_cast<qsizetype>(kFaceNames.size()));
    platform::IniFile ini(Settings());
    EXPECT_EQ(ini.ReadInteger("TipoftheDay", "Enabled", -1), 1);
    EXPECT_EQ(ini.ReadInteger("TipoftheDay", "Position", -1), 0);
    EXPECT_EQ(ini.ReadInteger("TipoftheDay", "Maximum", -1), 2);
    EXPECT_EQ(ini.ReadString("Tips", "0", ""), "First tip.");
    EXPECT_EQ(ini.ReadString("Tips", "1", ""), "Second tip, with = and \"quotes\".");
    EXPECT_EQ(ini.ReadString("Tips", "2", ""), "Third.");
    EXPECT_EQ(ini.ReadString("Tips", "3", "XXXX"), "XXXX");
    EXPECT_FALSE(ini.SectionExists("Settings"));
    EXPECT_TRUE(lastOut.contains("Created the settings file"));
}

TEST_F(SetupTest, ASecondSetupChangesNothing) {
    ASSERT_EQ(Run(), 0);
    platform::IniFile(Settings()).WriteInteger("TipoftheDay", "Position", 2);
    platform::IniFile(Settings()).WriteString("Settings", "Data", "MINE");
    const QByteArray before = ReadSettings();
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(ReadSettings(), before);
    EXPECT_TRUE(lastOut.contains("Kept the settings file"));
}

TEST_F(SetupTest, AFileWithoutTheTipSectionsGetsThemAndKeepsTheSettings) {
    QDir().mkpath(programFolder);
    WriteFile(Settings(), "[Settings]\r\nCount=7\r\nData=MINE\r\n");
    EXPECT_EQ(Run(), 0) << lastErr.toStdString();
    platform::IniFile ini(Settings());
    EXPECT_EQ(ini.ReadInteger("Settings", "Count", -1), 7);
    EXPECT_EQ(ini.ReadString("Settings", "Data", ""), "MINE");
    EXPECT_EQ(ini.ReadInteger("TipoftheDay", "Maximum", -1), 2);
    EXPECT_EQ(ini.ReadBool("TipoftheDay", "Enabled", false), true);
    EXPECT_EQ(ini.ReadString("Tips", "2", ""), "Third.");
    EXPECT_TRUE(ReadSettings().startsWith("[Settings]\r\nCount=7\r\nData=MINE\r\n"));

    // The user's switch is kept when only the tips were missing.
    WriteFile(Settings(), "[TipoftheDay]\nEnabled=0\nPosition=1\n");
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(ini.ReadBool("TipoftheDay", "Enabled", true), false);
    EXPECT_EQ(ini.ReadInteger("TipoftheDay", "Position", -1), 1);
    EXPECT_EQ(ini.ReadInteger("TipoftheDay", "Maximum", -1), 2);
    EXPECT_EQ(ini.ReadString("Tips", "0", ""), "First tip.");
}

TEST_F(SetupTest, FailuresAreReportedAndStopTheSetup) {
    // No tips file.
    QFile::remove(dataFolder + "/tips.txt");
    EXPECT_EQ(Run(), 1);
    EXPECT_TRUE(lastErr.contains("Cannot read the tips file")) << lastErr.toStdString();
    EXPECT_FALSE(QFileInfo::exists(Settings()));

    // A file where the program folder should be.
    QDir().rmdir(programFolder);
    QDir(documentsFolder).removeRecursively();
    QDir().mkpath(documentsFolder);
    WriteFile(documentsFolder + "/Stripewright", "x");
    EXPECT_EQ(Run(), 1);
    EXPECT_TRUE(lastErr.contains("in the way")) << lastErr.toStdString();
}

TEST_F(SetupTest, AReadOnlySettingsFileIsNeitherReplacedNorReportedAsDone) {
    QDir().mkpath(programFolder);
    WriteFile(Settings(), "[Settings]\nCount=3\n");
    QFile::setPermissions(Settings(), QFileDevice::ReadOwner | QFileDevice::ReadUser);
    EXPECT_EQ(Run(), 1);
    EXPECT_TRUE(lastErr.contains("Unable to write to")) << lastErr.toStdString();
    EXPECT_EQ(ReadSettings(), "[Settings]\nCount=3\n");
}

TEST_F(SetupTest, FontsInstalledForTheSystemAreNotCopiedForTheUser) {
    // <prefix>/share/stripewright beside <prefix>/share/fonts/truetype/stripewright.
    dataFolder = dir.filePath("usr/share/stripewright");
    CopyFolder(dir.filePath("share"), dataFolder);
    CopyFolder(dir.filePath("share/templates"), dataFolder + "/templates");
    const QString system = dir.filePath("usr/share/fonts/truetype/stripewright");
    CopyFolder(SW_FONT_DIR, system);
    userFontFolder = dir.filePath("home-fonts");

    EXPECT_EQ(Run(), 0) << lastErr.toStdString();
    EXPECT_FALSE(QFileInfo::exists(userFontFolder));
    EXPECT_TRUE(lastOut.contains("installed for every user")) << lastOut.toStdString();

    // With a face missing there, the user gets the whole set from the program's data.
    ASSERT_TRUE(QFile::remove(system + "/" + QDir(system).entryList({"*.ttf"}).value(0)));
    CopyFolder(SW_FONT_DIR, dataFolder + "/fonts");
    EXPECT_EQ(Run(), 0) << lastErr.toStdString();
    EXPECT_EQ(QDir(userFontFolder).entryList({"*.ttf"}), QDir(SW_FONT_DIR).entryList({"*.ttf"}));
}

#ifdef Q_OS_UNIX

int g_renamesLeft = 0;
void KillAtRename(platform::AtomicWriteStage stage) {
    if (stage == platform::AtomicWriteStage::BeforeRename && --g_renamesLeft == 0)
        ::raise(SIGKILL);
}

// Every file under `folder` with its content, our temporary files included.
QMap<QString, QByteArray> Tree(const QString& folder) {
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        files[f.fileName().mid(folder.size())] = f.open(QIODevice::ReadOnly) ? f.readAll() : "?";
    }
    return files;
}

// A set-up killed as it puts any one of its files in place: the settings file holds either
// none of the tip sections or all of them, and the next run finishes the job exactly as an
// uninterrupted one does.
TEST_F(SetupTest, ASetupKilledAtAnyFileFinishesOnTheNextRun) {
    // Without fc-cache on the path the font step skips refreshing the cache, which would take
    // most of the time here.
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", "/nonexistent");
    const auto restorePath = qScopeGuard([&] { qputenv("PATH", path); });
    QDir().mkpath(programFolder);
    const QByteArray mine = "[Settings]\nData=mine\n";
    WriteFile(Settings(), mine);
    const QString root = dir.path();
    const QMap<QString, QByteArray> start = Tree(root);
    ASSERT_EQ(Run(), 0) << lastErr.toStdString();
    const QMap<QString, QByteArray> finished = Tree(root);

    for (int kill = 1;; ++kill) {
        QDir(userFontFolder).removeRecursively();
        QDir(programFolder).removeRecursively();
        QDir().mkpath(programFolder);
        WriteFile(Settings(), mine);
        ASSERT_EQ(Tree(root), start);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            g_renamesLeft = kill;
            platform::SetAtomicWriteHook(&KillAtRename);
            ::_exit(Run());
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        if (!WIFSIGNALED(status)) {
            EXPECT_EQ(WEXITSTATUS(status), 0);
            EXPECT_GT(kill, 20);  // the settings file, 8 templates and 12 fonts
            break;
        }
        const QByteArray settings = ReadSettings();
        EXPECT_TRUE(settings == mine || settings == finished.value(Settings().mid(root.size())))
            << "killed at write " << kill;
        EXPECT_EQ(Run(), 0) << "killed at write " << kill << ": " << lastErr.toStdString();
        EXPECT_EQ(Tree(root), finished) << "killed at write " << kill;
    }
}

// Two of our writers at the same moment, each a process of its own: the set-up adding the tips
// beside the window's settings writer, or two whole set-ups. Both succeed and nothing either
// of them writes is lost.
TEST_F(SetupTest, TwoWritersAtOnceBothSucceedAndLoseNothing) {
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", "/nonexistent");  // no font cache to rebuild
    const auto restorePath = qScopeGuard([&] { qputenv("PATH", path); });
    const QByteArray mine = "[Settings]\nData=mine\n";
    const auto settingsStep = [this] {
        QStringList report;
        const SetupContext context{QFile::encodeName(dataFolder),
                                   QFile::encodeName(documentsFolder),
                                   QFile::encodeName(programFolder),
                                   {}};
        return InstallSettingsFile(context, report) ? 0 : 1;
    };
    const auto windowWriter = [this] {
        try {
            platform::IniFile(Settings())
                .WriteStrings({{"Settings", "Type", "25i"}, {"Settings", "Left", "12"}});
            return 0;
        } catch (const platform::IniWriteError&) {
            return 1;
        }
    };
    const auto wholeSetup = [this] { return Run(); };
    struct Pair {
        const char* name;
        std::function<int()> first, second;
        int rounds;
    };
    const Pair pairs[] = {{"the set-up beside the window", settingsStep, windowWriter, 50},
                          {"two set-ups", wholeSetup, wholeSetup, 10}};
    const auto reset = [&] {
        QDir(userFontFolder).removeRecursively();
        QDir(programFolder).removeRecursively();
        QDir().mkpath(programFolder);
        WriteFile(Settings(), mine);
    };
    for (const Pair& pair : pairs) {
        // What the two give one after the other, in either order: every line once.
        reset();
        ASSERT_EQ(pair.first(), 0);
        ASSERT_EQ(pair.second(), 0);
        const QByteArray expected = ReadSettings();
        for (int round = 0; round < pair.rounds; ++round) {
            reset();
            // Both wait at the gate until the parent opens it by closing its end.
            int gate[2];
            ASSERT_EQ(::pipe(gate), 0);
            pid_t children[2];
            const std::function<int()>* work[] = {&pair.first, &pair.second};
            for (int i = 0; i < 2; ++i) {
                children[i] = ::fork();
                ASSERT_GE(children[i], 0);
                if (children[i] == 0) {
                    ::close(gate[1]);
                    char go = 0;
                    [[maybe_unused]] const ssize_t opened = ::read(gate[0], &go, 1);
                    ::_exit((*work[i])());
                }
            }
            ::close(gate[0]);
            ::close(gate[1]);
            for (const pid_t child : children) {
                int status = 0;
                ASSERT_EQ(::waitpid(child, &status, 0), child);
                EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
                    << pair.name << ", round " << round;
            }
            const platform::IniSnapshot file = platform::IniFile(Settings()).Read();
            const bool window = &pair == &pairs[0];
            EXPECT_EQ(file.ReadString("Settings", "Data", ""), "mine") << pair.name << round;
            EXPECT_EQ(file.ReadString("Tips", "2", ""), "Third.") << pair.name << round;
            EXPECT_EQ(file.ReadInteger("TipoftheDay", "Maximum", -1), 2) << pair.name << round;
            EXPECT_EQ(file.ReadString("Settings", "Type", ""), window ? "25i" : "")
                << pair.name << round;
            EXPECT_EQ(ReadSettings(), expected) << pair.name << round;
        }
    }
}

// A home folder that is missing, empty or relative gives no documents folder: nothing is made
// in the working folder.
TEST(SetupProgram, WithoutAHomeFolderStopsAndCreatesNothing) {
    for (const char* home : {"", "relative"}) {
        QTemporaryDir dir;
        QProcess setup;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", home);
        setup.setProcessEnvironment(env);
        setup.setWorkingDirectory(dir.path());
        setup.start(QStringLiteral(SW_SETUP_EXE), {"--data", dir.path(), "--fonts", dir.path()});
        ASSERT_TRUE(setup.waitForFinished(60000));
        EXPECT_EQ(setup.exitCode(), 1) << home;
        EXPECT_TRUE(setup.readAllStandardError().contains("no documents folder was found"));
        EXPECT_TRUE(QDir(dir.path()).isEmpty()) << home;
    }
}

// A documents folder whose name is not UTF-8 (here Latin-1 "Dok\xe9"), given on the command
// line or by the XDG user folders, is the folder the set-up fills.
TEST_F(SetupTest, ADocumentsFolderNamedInOtherBytesIsUsedAsItIs) {
    const QByteArray home = QFile::encodeName(dir.filePath("home"));
    struct Row {
        const char* how;
        QStringList arguments;  // to /bin/sh, which gives the program the bytes printf makes
    };
    const QString run = QStringLiteral("exec \"$0\" --data \"$1\" --fonts \"$2\" ");
    const Row rows[] = {
        {"--documents", {"-c", run + "--documents \"$(printf '%s/Dok\\351' \"$3\")\""}},
        {"user-dirs.dirs", {"-c", run}},
    };
    for (const Row& row : rows) {
        QDir(dir.filePath("home")).removeRecursively();
        QDir().mkpath(dir.filePath("home/.config"));
        WriteFile(dir.filePath("home/.config/user-dirs.dirs"),
                  "XDG_DOCUMENTS_DIR=\"$HOME/Dok\xe9\"\n");
        QProcess setup;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", dir.filePath("home"));
        env.remove("XDG_CONFIG_HOME");
        env.insert("PATH", "/nonexistent");
        setup.setProcessEnvironment(env);
        setup.start("/bin/sh", row.arguments + QStringList{SW_SETUP_EXE, dataFolder, userFontFolder,
                                                           dir.filePath("home")});
        ASSERT_TRUE(setup.waitForFinished(60000));
        EXPECT_EQ(setup.exitCode(), 0) << row.how << ": " << setup.readAllStandardError().data();
        struct stat st {};
        EXPECT_EQ(::stat(home + "/Dok\xe9/Stripewright/stripewrighttips.ini", &st), 0) << row.how;
        // Nothing beside it under a name changed on the way (such as "Dok\xef\xbf\xbd").
        QList<QByteArray> names;
        if (DIR* folder = ::opendir(home.constData())) {
            while (const dirent* entry = ::readdir(folder)) names << entry->d_name;
            ::closedir(folder);
        }
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, QList<QByteArray>({".", "..", ".config", "Dok\xe9"})) << row.how;
    }
}

#endif

TEST(ShippedTips, AtLeastTwentyOneLineTipsThatFitASettingsValue) {
    QStringList tips;
    QString error;
    const QString path = QStringLiteral(SW_TIPS_FILE);
    ASSERT_TRUE(ReadTips(QFile::encodeName(path), tips, error)) << error.toStdString();
    EXPECT_GE(tips.size(), 20);
    for (const QString& tip : tips) {
        EXPECT_LE(tip.size(), platform::kMaxIniValueLength);
        EXPECT_NE(tip, "XXXX");
        EXPECT_GE(tip.size(), 30) << tip.toStdString();
    }
}

}  // namespace
}  // namespace sw::setup
