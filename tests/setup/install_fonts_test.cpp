// The set-up step that installs the bar code fonts for the user.
#include "setup/install_fonts.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>

#include "fonts/font_files.h"

namespace sw {
namespace {

QByteArray Content(const QString& name, int version) {
    return name.toUtf8() + " version " + QByteArray::number(version);
}

void WriteFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(data), data.size());
}

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

class InstallFontsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        source_ = dir_.filePath(QStringLiteral("share/stripewright/fonts"));
        target_ = dir_.filePath(QStringLiteral("home/.local/share/fonts/stripewright"));
        ASSERT_TRUE(QDir().mkpath(source_));
        for (const QString& name : BarcodeFontFileNames()) {
            WriteFile(QDir(source_).filePath(name), Content(name, 1));
        }
    }

    bool Install(QString* error) {
        return InstallFonts(QFile::encodeName(source_), QFile::encodeName(target_), error,
                            [this](const QByteArray& folder) {
                                refreshed_ << QFile::decodeName(folder);
                                return refreshWorks_;
                            });
    }

    QTemporaryDir dir_;
    QString source_;
    QString target_;
    QStringList refreshed_;
    bool refreshWorks_ = true;
};

TEST_F(InstallFontsTest, CopiesEveryFaceAndRefreshesTheCache) {
    QString error;
    ASSERT_TRUE(Install(&error)) << error.toStdString();
    const QStringList names = BarcodeFontFileNames();
    EXPECT_EQ(names.size(), static_cast<qsizetype>(kFaceNames.size()));
    for (const QString& name : names) {
        EXPECT_EQ(ReadFile(QDir(target_).filePath(name)), Content(name, 1));
        EXPECT_TRUE(QFileInfo(QDir(target_).filePath(name)).permissions() & QFileDevice::ReadOther);
    }
    EXPECT_EQ(QDir(target_).entryList(QDir::Files).size(), names.size());  // no temporary files
    EXPECT_EQ(refreshed_, QStringList{target_});
}

TEST_F(InstallFontsTest, ReplacesOlderFontsAndLeavesOtherFilesAlone) {
    ASSERT_TRUE(QDir().mkpath(target_));
    const QString users = QDir(target_).filePath(QStringLiteral("users-own.ttf"));
    WriteFile(users, "mine");
    const QString name = BarcodeFontFileNames().front();
    WriteFile(QDir(target_).filePath(name), Content(name, 0));
    WriteFile(QDir(source_).filePath(name), Content(name, 2));

    ASSERT_TRUE(Install(nullptr));
    EXPECT_EQ(ReadFile(QDir(target_).filePath(name)), Content(name, 2));
    EXPECT_EQ(ReadFile(users), "mine");
    ASSERT_TRUE(Install(nullptr));  // again: nothing to change, still fine, no slow refresh
    EXPECT_EQ(refreshed_.size(), 1);
}

TEST_F(InstallFontsTest, AFontCacheThatCannotBeRefreshedIsNotAnError) {
    refreshWorks_ = false;
    EXPECT_TRUE(Install(nullptr));
    EXPECT_TRUE(InstallFonts(QFile::encodeName(source_), QFile::encodeName(target_), nullptr, {}));
}

TEST_F(InstallFontsTest, Failures) {
    struct Row {
        const char* what;
        std::function<void(const QString& source, const QString& target)> damage;
        const char* message;  // start of the error
    };
    const Row rows[] = {
        {"a font missing from the installation",
         []([[maybe_unused]] const QString& source, [[maybe_unused]] const QString& target) {
             QFile::remove(QDir(source).filePath(QStringLiteral("sample_postal.ttf")));
         },
         "The bar code font"},
        {"an empty font file",
         []([[maybe_unused]] const QString& source, [[maybe_unused]] const QString& target) {
             WriteFile(QDir(source).filePath(QStringLiteral("sample_39.ttf")), "");
         },
         "The bar code font"},
        {"a file where the font folder should be",
         []([[maybe_unused]] const QString& source, [[maybe_unused]] const QString& target) {
             ASSERT_TRUE(QDir().mkpath(QFileInfo(target).path()));
             WriteFile(target, "not a folder");
         },
         "The font folder"},
        {"a folder where a font should be",
         []([[maybe_unused]] const QString& source, [[maybe_unused]] const QString& target) {
             ASSERT_TRUE(QDir().mkpath(QDir(target).filePath(QStringLiteral("sample_39.ttf"))));
         },
         "The bar code font"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SetUp();  // a fresh source and target for each row
        QFile::remove(target_);
        QDir(target_).removeRecursively();
        row.damage(source_, target_);
        refreshed_.clear();
        QString error;
        EXPECT_FALSE(Install(&error));
        EXPECT_TRUE(error.startsWith(QString::fromUtf8(row.message))) << error.toStdString();
        EXPECT_TRUE(refreshed_.isEmpty());
        // Nothing half-written is left behind.
        for (const QFileInfo& f : QDir(target_).entryInfoList(QDir::Files)) {
            EXPECT_EQ(ReadFile(f.filePath()), Content(f.fileName(), 1))
                << f.fileName().toStdString();
        }
    }
}

TEST(InstallFontsPaths, DefaultUserFolder) {
    EXPECT_TRUE(DefaultUserFontFolder().endsWith("/fonts/stripewright"));
}

}  // namespace
}  // namespace sw
