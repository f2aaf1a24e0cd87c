// The label launch: which template, which message, what the shell is asked to open.
#include "output/label_launcher.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include "support/fake_desktop.h"

namespace sw {
namespace {

class LabelLaunch : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        desktop.documents = home.path() + "/Documents";
        folder = desktop.documents + "/Stripewright";
        ASSERT_TRUE(QDir().mkpath(folder));
        mainWindow.move(300, 200);
        desktop.onWarning = [this](const QString&) { log << "message"; };
    }

    void PutTemplate(const QString& name) {
        QFile f(folder + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("{\\rtf1 }");
    }

    LabelLaunchOutcome Launch(int labelSize, bool explain) {
        LabelLaunchRequest request;
        request.labelSize = labelSize;
        request.explainPaste = explain;
        request.copyPreview = [this] { log << "copy"; };
        request.focusDataField = [this] { log << "focus"; };
        const LabelLaunchOutcome outcome = LaunchLabelTemplate(desktop, &mainWindow, request);
        if (!desktop.documentsOpened.empty())
            log << "open";
        return outcome;
    }

    QTemporaryDir home;
    testing::FakeDesktop desktop;
    QString folder;
    QWidget mainWindow;
    QStringList log;
};

TEST_F(LabelLaunch, FoundTemplateOpensFromTheProgramFolder) {
    const struct {
        int labelSize;
        const char* file;
        bool explain;
    } cases[] = {{4, "lt161.rtf", true},   {4, "lt161.rtf", false}, {1, "lt167.rtf", true},
                 {8, "lt164.rtf", false},  {9, "custom.rtf", true}, {0, "custom.rtf", false},
                 {-1, "custom.rtf", true}, {10, "custom.rtf", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.labelSize) + (c.explain ? " explained" : ""));
        desktop.warnings.clear();
        desktop.documentsOpened.clear();
        log.clear();
        PutTemplate(c.file);

        EXPECT_EQ(Launch(c.labelSize, c.explain), LabelLaunchOutcome::Opened);
        ASSERT_EQ(desktop.documentsOpened.size(), 1u);
        // The bare file name, resolved by the shell against the folder given as working folder.
        EXPECT_EQ(desktop.documentsOpened[0].target, QString::fromLatin1(c.file));
        EXPECT_EQ(desktop.documentsOpened[0].workingFolder, folder);
        if (c.explain) {
            ASSERT_EQ(desktop.warnings.size(), 1u);
            EXPECT_EQ(desktop.warnings[0].text,
                      "To add your bar code to a label, place\nthe cursor in any label on the "
                      "form,\nthen on the menu bar click on Edit, Paste\nor just enter a Ctrl-V.");
            EXPECT_EQ(desktop.warnings[0].topLeft, QPoint(400, 300));
            EXPECT_EQ(log, QStringList({"copy", "focus", "message", "open"}));
        } else {
            EXPECT_TRUE(desktop.warnings.empty());
            EXPECT_EQ(log, QStringList({"copy", "focus", "open"}));
        }
    }
}

TEST_F(LabelLaunch, MissingTemplateIsReportedAndNothingOpens) {
    for (const bool explain : {true, false}) {
        desktop.warnings.clear();
        log.clear();
        EXPECT_EQ(Launch(5, explain), LabelLaunchOutcome::TemplateMissing);
        ASSERT_EQ(desktop.warnings.size(), 1u);
        EXPECT_EQ(desktop.warnings[0].text,
                  "The label template lt162.rtf is missing from the folder\n" +
                      QDir::toNativeSeparators(folder) + "\nPlease re-install this product.");
        EXPECT_EQ(desktop.warnings[0].topLeft, QPoint(400, 300));
        EXPECT_TRUE(desktop.documentsOpened.empty());
        // The clipboard still gets the bar code.
        EXPECT_EQ(log, QStringList({"copy", "focus", "message"}));
    }
}

TEST_F(LabelLaunch, MissingCustomTemplateTellsHowToMakeOne) {
    PutTemplate("lt161.rtf");  // our templates being there does not help
    for (const int stored : {9, 0, 12}) {
        desktop.warnings.clear();
        EXPECT_EQ(Launch(stored, true), LabelLaunchOutcome::CustomMissing);
        ASSERT_EQ(desktop.warnings.size(), 1u);
        EXPECT_EQ(desktop.warnings[0].text,
                  "You have not yet defined a custom template. Make your\nown label template, "
                  "name the file custom.rtf, and place\nthis file in the:\n" +
                      QDir::toNativeSeparators(folder) + " folder.");
        EXPECT_FALSE(desktop.warnings[0].text.contains("Stripewright/ folder"));
        EXPECT_TRUE(desktop.documentsOpened.empty());
    }
}

TEST_F(LabelLaunch, TemplateIsLookedForInTheProgramFolderOnly) {
    // A template in the documents folder itself, or a folder of that name, is not a template.
    QFile stray(desktop.documents + "/lt161.rtf");
    ASSERT_TRUE(stray.open(QIODevice::WriteOnly));
    ASSERT_TRUE(QDir().mkpath(folder + "/lt167.rtf"));
    EXPECT_EQ(Launch(4, false), LabelLaunchOutcome::TemplateMissing);
    EXPECT_EQ(Launch(1, false), LabelLaunchOutcome::TemplateMissing);
    EXPECT_TRUE(desktop.documentsOpened.empty());
}

TEST_F(LabelLaunch, OverlongFolderEndsWithoutOpening) {
    desktop.documents = home.path() + "/" + QString(5000, QChar('d'));
    EXPECT_EQ(Launch(4, true), LabelLaunchOutcome::TemplateMissing);
    EXPECT_TRUE(desktop.documentsOpened.empty());
    EXPECT_EQ(desktop.warnings.size(), 1u);
}

}  // namespace
}  // namespace sw
