// The set-up step that puts the label templates into the program folder.
#include "setup/install_templates.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "output/label_sheets.h"

namespace sw::setup {
namespace {

QStringList TemplateNames() {
    QStringList names;
    for (std::size_t i = 0; i < kSheetCount; ++i) {
        names << QString::fromLatin1(kLabelChoices[i].fileName.data(),
                                     static_cast<qsizetype>(kLabelChoices[i].fileName.size()));
    }
    return names;
}

void Write(const QString& path, const QByteArray& content) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(f.write(content), content.size());
}

QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

class InstallTemplatesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        from = root.path() + "/share/templates";
        program = root.path() + "/Documents/Stripewright";
        ASSERT_TRUE(QDir().mkpath(from));
        for (const QString& name : TemplateNames())
            Write(from + "/" + name, "ours " + name.toLatin1());
    }

    QTemporaryDir root;
    QString from;
    QString program;
    QString error;
};

TEST_F(InstallTemplatesTest, CopiesEveryTemplateIntoANewFolder) {
    ASSERT_TRUE(InstallTemplates(QFile::encodeName(from), QFile::encodeName(program), &error))
        << error.toStdString();
    const QStringList names = TemplateNames();
    for (const QString& name : names) {
        EXPECT_EQ(Read(program + "/" + name), "ours " + name.toLatin1());
    }
    // Nothing else: no custom template, no temporary files left behind.
    const QStringList present =
        QDir(program).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    QStringList sorted = names;
    sorted.sort();
    EXPECT_EQ(present, sorted);
}

TEST_F(InstallTemplatesTest, KeepsWhatTheUserAlreadyHas) {
    ASSERT_TRUE(QDir().mkpath(program));
    Write(program + "/lt161.rtf", "changed by the user");
    Write(program + "/custom.rtf", "the user's own");
    Write(from + "/custom.rtf", "must not be copied");
    ASSERT_TRUE(QFile::link(program + "/nowhere.rtf", program + "/lt570.rtf"));

    ASSERT_TRUE(InstallTemplates(QFile::encodeName(from), QFile::encodeName(program), &error))
        << error.toStdString();
    EXPECT_EQ(Read(program + "/lt161.rtf"), "changed by the user");
    EXPECT_EQ(Read(program + "/custom.rtf"), "the user's own");
    EXPECT_TRUE(QFileInfo(program + "/lt570.rtf").isSymLink());
    EXPECT_EQ(Read(program + "/lt167.rtf"), "ours lt167.rtf");

    // Run again: nothing changes.
    Write(program + "/lt167.rtf", "changed after the first run");
    ASSERT_TRUE(InstallTemplates(QFile::encodeName(from), QFile::encodeName(program), &error));
    EXPECT_EQ(Read(program + "/lt167.rtf"), "changed after the first run");
}

TEST_F(InstallTemplatesTest, NoCustomTemplateIsMade) {
    ASSERT_TRUE(InstallTemplates(QFile::encodeName(from), QFile::encodeName(program), &error));
    EXPECT_FALSE(QFileInfo::exists(program + "/custom.rtf"));
}

TEST_F(InstallTemplatesTest, FailuresAreReported) {
    const struct {
        const char* what;
        QString from;
        QString program;
        const char* inError;
    } cases[] = {
        {"template missing from the installation", root.path() + "/empty", program, "lt167.rtf"},
        {"folder cannot be made", from, "/proc/stripewright-test/Stripewright",
         "/proc/stripewright-test"},
        {"folder cannot be written", from, "/proc/self", "Unable to write to /proc/self"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        error.clear();
        EXPECT_FALSE(
            InstallTemplates(QFile::encodeName(c.from), QFile::encodeName(c.program), &error));
        EXPECT_TRUE(error.contains(QString::fromLatin1(c.inError))) << error.toStdString();
    }
}

}  // namespace
}  // namespace sw::setup
