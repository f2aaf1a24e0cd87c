#include "output/copy_command.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QMimeData>
#include <QPushButton>
#include <QTextEdit>

#include "dialogs/warning_box.h"
#include "support/fake_desktop.h"

namespace sw {
namespace {

class CopyCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        preview.setPlainText(QStringLiteral("{-C}"));
        preview.selectAll();
        QTextCharFormat format;
        format.setFontFamilies({QStringLiteral("Sample 25 Interleaved")});
        format.setFontPointSize(24);
        preview.mergeCurrentCharFormat(format);
        QTextCursor cursor = preview.textCursor();
        cursor.clearSelection();
        preview.setTextCursor(cursor);
    }

    void Copy(bool made) {
        CopyCommand(desktop, made, warningBox, *warningBox.NoWarningBox, preview,
                    [this](const QString& m) { previewErrors << m; });
    }

    testing::FakeDesktop desktop;
    TWarningBox warningBox;
    QTextEdit preview;
    QStringList previewErrors;
};

TEST_F(CopyCommandTest, RefusesBeforeMakeAndLeavesTheClipboardAlone) {
    Copy(false);
    EXPECT_EQ(
        previewErrors,
        QStringList{QStringLiteral("Error- Must click \"Make\" before copying to clip board")});
    EXPECT_EQ(desktop.clipboard, nullptr);
    EXPECT_TRUE(desktop.modalsShown.empty());
}

TEST_F(CopyCommandTest, WarnsFirstThenCopiesTheWholePreview) {
    bool clipboardEmptyWhileWarning = false;
    desktop.onShowModal = [&](QDialog*) {
        clipboardEmptyWhileWarning = desktop.clipboard == nullptr;
        return int(QDialog::Accepted);
    };
    Copy(true);
    ASSERT_EQ(desktop.modalsShown.size(), 1u);
    EXPECT_EQ(desktop.modalsShown[0], &warningBox);
    EXPECT_TRUE(clipboardEmptyWhileWarning);
    ASSERT_NE(desktop.clipboard, nullptr);
    EXPECT_EQ(desktop.clipboard->text(), QStringLiteral("{-C}"));
    EXPECT_TRUE(desktop.clipboard->html().contains(
        QStringLiteral("font-family:'Sample 25 Interleaved'; font-size:24pt")));
    EXPECT_TRUE(desktop.clipboard->data(QStringLiteral("text/rtf")).contains("\\fs48 \\{-C\\}"));
    EXPECT_EQ(preview.textCursor().selectedText(), QStringLiteral("{-C}"));
    EXPECT_TRUE(previewErrors.isEmpty());
}

TEST_F(CopyCommandTest, WarningShownOnEveryCopyUntilTurnedOff) {
    int shown = 0;
    desktop.onShowModal = [&](QDialog*) {
        ++shown;
        if (shown == 2)
            warningBox.NoWarningBox->setChecked(true);
        warningBox.OKBtn->click();
        return warningBox.result();
    };
    Copy(true);
    Copy(true);
    Copy(true);
    Copy(true);
    EXPECT_EQ(shown, 2);
    EXPECT_NE(desktop.clipboard, nullptr);
}

TEST_F(CopyCommandTest, ClosingTheWarningByTheTitleBarStillCopies) {
    desktop.onShowModal = [&](QDialog* dialog) {
        dialog->reject();  // what the title bar's close button does
        return dialog->result();
    };
    Copy(true);
    ASSERT_NE(desktop.clipboard, nullptr);
    EXPECT_EQ(desktop.clipboard->text(), QStringLiteral("{-C}"));
}

TEST_F(CopyCommandTest, CopiesTheFaceAndSizeThePreviewHasNow) {
    // A later restyle (new height or size) is what the clipboard gets.
    preview.selectAll();
    QTextCharFormat format;
    format.setFontFamilies({QStringLiteral("Sample 25 Interleaved Tall")});
    format.setFontPointSize(36);
    preview.mergeCurrentCharFormat(format);
    warningBox.NoWarningBox->setChecked(true);
    Copy(true);
    ASSERT_NE(desktop.clipboard, nullptr);
    EXPECT_TRUE(desktop.clipboard->html().contains(
        QStringLiteral("font-family:'Sample 25 Interleaved Tall'; font-size:36pt")));
    EXPECT_TRUE(desktop.clipboard->data(QStringLiteral("text/rtf")).contains("\\fs72 "));
    EXPECT_TRUE(desktop.modalsShown.empty());
}

TEST_F(CopyCommandTest, LabelCopyNeverWarns) {
    CopyPreviewToClipboard(desktop, preview);
    EXPECT_TRUE(desktop.modalsShown.empty());
    ASSERT_NE(desktop.clipboard, nullptr);
    EXPECT_EQ(desktop.clipboard->text(), QStringLiteral("{-C}"));
    EXPECT_EQ(preview.textCursor().selectedText(), QStringLiteral("{-C}"));
}

}  // namespace
}  // namespace sw
