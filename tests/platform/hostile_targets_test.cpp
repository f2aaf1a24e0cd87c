// Every writer of the project against targets that are not plain files of ours: nothing that is
// not ours is replaced or written through, and a refusal is reported.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <functional>

#include "fonts/font_files.h"
#include "output/label_sheets.h"
#include "platform/ini_file.h"
#include "setup/install_fonts.h"
#include "setup/install_templates.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace sw {
namespace {

// Those from Link on are links the writers that follow links may follow.
enum class Target {
    Device,
    Fifo,
    Folder,
    ReadOnly,
    PipeBehindLink,     // a link to /proc/<pid>/fd/<n> of a pipe, like --png /proc/self/fd/1
    SharedFoldersLink,  // another user's link in a sticky folder anyone may write, like /tmp
    SharedFoldersFile,  // another user's file there
    Link,
    LinkChain,
    DanglingLink
};

// Someone who is neither the user nor the owner of the folders here.
constexpr uid_t kOtherUser = 54321;

struct Writer {
    const char* name;
    // Folder and file name the writer writes to, and whether it follows links to their file
    // (the set-up's writers never write through a link).
    QString fileName;
    bool followsLinks;
    // Writes into `folder`; true when it reports success. `why` gets the reason of a refusal.
    std::function<bool(const QString& folder, const QString& data, QString& why)> write;
};

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

struct stat Lstat(const QString& path) {
    struct stat st {};
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st;
}

std::vector<Writer> Writers(const QString& sourceFolder) {
    const std::string_view firstTemplate = kLabelChoices[0].fileName;
    return {
        {"picture", "out.png", true,
         [](const QString& folder, const QString&, QString& why) {
             QProcess encoder;
             encoder.start(QStringLiteral(SW_ENCODE_EXE),
                           {"--type", "39", "--png", folder + "/out.png", "ABC"});
             encoder.waitForFinished(60000);
             const int status = encoder.exitCode();
             why = QString::fromUtf8(encoder.readAllStandardError());
             // A refusal is an output error, and says why.
             EXPECT_TRUE(status == 0 || (status == 3 && why.contains("cannot write"))) << status;
             return encoder.exitStatus() == QProcess::NormalExit && status == 0;
         }},
        {"settings", "stripewrighttips.ini", true,
         [](const QString& folder, const QString& data, QString& why) {
             try {
                 platform::IniFile(folder + "/stripewrighttips.ini")
                     .WriteString("Settings", "Data", data);
                 return true;
             } catch (const platform::IniWriteError& e) {
                 why = e.reason();
                 return false;
             }
         }},
        {"templates",
         QString::fromLatin1(firstTemplate.data(), static_cast<qsizetype>(firstTemplate.size())),
         false,
         [sourceFolder](const QString& folder, const QString&, QString& error) {
             return setup::InstallTemplates(QFile::encodeName(sourceFolder + "/templates"),
                                            QFile::encodeName(folder), &error);
         }},
        {"fonts", BarcodeFontFileNames().front(), false,
         [sourceFolder](const QString& folder, const QString&, QString& error) {
             return InstallFonts(QFile::encodeName(sourceFolder + "/fonts"),
                                 QFile::encodeName(folder), &error, nullptr);
         }},
    };
}

TEST(HostileTargets, NoWriterReplacesOrWritesThroughWhatIsNotItsOwn) {
    QTemporaryDir dir;
    const QString source = dir.filePath("share");
    QDir().mkpath(source + "/templates");
    QDir().mkpath(source + "/fonts");
    for (const LabelChoice& choice : kLabelChoices) {
        WriteAll(source + "/templates/" +
                     QString::fromLatin1(choice.fileName.data(),
                                         static_cast<qsizetype>(choice.fileName.size())),
                 "{\\rtf1 template}");
    }
    for (const QString& font : BarcodeFontFileNames()) WriteAll(source + "/fonts/" + font, "font");

    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const Target targets[] = {Target::Device,
                              Target::Fifo,
                              Target::Folder,
                              Target::ReadOnly,
                              Target::PipeBehindLink,
                              Target::SharedFoldersLink,
                              Target::SharedFoldersFile,
                              Target::Link,
                              Target::LinkChain,
                              Target::DanglingLink};
    int round = 0;
    for (const Writer& writer : Writers(source)) {
        for (Target target : targets) {
            const bool needsRoot = target == Target::Device ||
                                   target == Target::SharedFoldersLink ||
                                   target == Target::SharedFoldersFile;
            if (needsRoot && ::geteuid() != 0)
                continue;  // only a superuser may make a device node or give a file away
            const QString folder = dir.filePath(QString("case%1").arg(++round));
            const QString outside = dir.filePath(QString("outside%1").arg(round));
            QDir().mkpath(folder);
            QDir().mkpath(outside);
            const QString path = folder + "/" + writer.fileName;
            const QByteArray path8 = QFile::encodeName(path);
            const QString real = outside + "/real";
            const QByteArray original = "[Settings]\nData=theirs\n";
            switch (target) {
                case Target::Device:
                    ASSERT_EQ(::mknod(path8.constData(), S_IFCHR | 0666, makedev(1, 3)), 0);
                    break;
                case Target::Fifo:
                    ASSERT_EQ(::mkfifo(path8.constData(), 0666), 0);
                    break;
                case Target::Folder:
                    ASSERT_TRUE(QDir().mkpath(path));
                    break;
                case Target::ReadOnly:
                    WriteAll(path, original);
                    ASSERT_EQ(::chmod(path8.constData(), 0444), 0);
                    break;
                case Target::PipeBehindLink:
                    ASSERT_TRUE(QFile::link(
                        QString("/proc/%1/fd/%2").arg(::getpid()).arg(pipeFds[1]), path));
                    break;
                case Target::SharedFoldersLink:
                    WriteAll(real, original);
                    ASSERT_TRUE(QFile::link(real, path));
                    ASSERT_EQ(::lchown(path8.constData(), kOtherUser, kOtherUser), 0);
                    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 01777), 0);
                    break;
                case Target::SharedFoldersFile:
                    WriteAll(path, original);
                    ASSERT_EQ(::chown(path8.constData(), kOtherUser, kOtherUser), 0);
                    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 01777), 0);
                    break;
                case Target::Link:
                    WriteAll(real, original);
                    ASSERT_TRUE(QFile::link(real, path));
                    break;
                case Target::LinkChain:
                    WriteAll(real, original);
                    ASSERT_TRUE(QFile::link(real, outside + "/middle"));
                    ASSERT_TRUE(QFile::link(outside + "/middle", path));
                    break;
                case Target::DanglingLink:
                    ASSERT_TRUE(QFile::link(real, path));
                    break;
            }
            // The owner of what lies in a shared folder holds a lock on it: no writer waits for
            // it (one that does is ended by the alarm).
            int held = -1;
            if (target == Target::SharedFoldersLink || target == Target::SharedFoldersFile) {
                held = ::open(QFile::encodeName(target == Target::SharedFoldersLink ? real : path)
                                  .constData(),
                              O_RDONLY | O_CLOEXEC);
                ASSERT_GE(held, 0);
                ASSERT_EQ(::flock(held, LOCK_EX), 0);
                ::alarm(60);
            }
            const struct stat before = Lstat(path);
            QString why;
            const bool ok = writer.write(folder, "ours", why);
            const struct stat after = Lstat(path);
            if (held >= 0) {
                ::alarm(0);
                ::close(held);
            }
            const std::string where =
                std::string(writer.name) + " writing over target " + std::to_string(int(target));
            const bool isLink = target >= Target::Link;

            // The name keeps what it was: the same node, of the same kind and mode.
            EXPECT_EQ(after.st_ino, before.st_ino) << where;
            EXPECT_EQ(after.st_mode, before.st_mode) << where;
            if (target == Target::ReadOnly || target == Target::SharedFoldersFile) {
                EXPECT_EQ(ReadAll(path), original) << where;
            }
            if (target == Target::SharedFoldersLink) {
                EXPECT_EQ(ReadAll(real), original) << where;
            }
            // What a link leads to is refused for what it is, not for a name it does not have.
            if (target == Target::PipeBehindLink && writer.followsLinks) {
                EXPECT_TRUE(why.contains("pipe")) << where << ": " << why.toStdString();
            }
            if (target == Target::LinkChain) {
                EXPECT_TRUE(QFileInfo(outside + "/middle").isSymLink()) << where;
            }

            if (!isLink) {
                // Templates keep whatever stands at their name; the others must say they failed.
                if (std::string(writer.name) != "templates") {
                    EXPECT_FALSE(ok) << where;
                }
            } else if (writer.followsLinks) {
                EXPECT_TRUE(ok) << where;
                EXPECT_NE(ReadAll(real), original) << where;
                EXPECT_TRUE(QFileInfo(real).isFile()) << where;
            } else {
                EXPECT_EQ(ReadAll(real), target == Target::DanglingLink ? "(missing)" : original)
                    << where;
                if (std::string(writer.name) == "fonts") {
                    EXPECT_FALSE(ok) << where;
                }
            }
            // No temporary file is left anywhere.
            EXPECT_TRUE(QDir(folder).entryList({".sw*"}, QDir::Hidden | QDir::Files).isEmpty())
                << where;
            EXPECT_TRUE(QDir(outside).entryList({".sw*"}, QDir::Hidden | QDir::Files).isEmpty())
                << where;
        }
    }
}

}  // namespace
}  // namespace sw
