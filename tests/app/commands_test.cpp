// The window's commands that hand the bar code on: Copy, Sample, Labels and About, each refused
// before Make and each working on the preview and output field of the last Make.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QMimeData>

#include "dialogs/about_box.h"
#include "dialogs/warning_box.h"
#include "support/recording_print_surface.h"
#include "support/window_fixture.h"

namespace sw {
namespace {

class CommandsTest : public testing::WindowTest {
  protected:
    void SetUp() override {
        docs.WriteSettings(testing::kTipsOnly);
        Start();
        desktop.modalsShown.clear();
        desktop.warnings.clear();
    }
    void Make(const QString& data) {
        form().BarTextInput->setText(data);
        form().MakeButtonClick->click();
        ASSERT_TRUE(form().BarCodeMade);
    }
    QString Preview() { return form().BarCodeOut->toPlainText(); }
};

TEST_F(CommandsTest, EachCommandRefusesBeforeMake) {
    struct Row {
        QPushButton* TForm1::*button;
        const char* message;
    };
    const Row rows[] = {
        {&TForm1::CopyButtonClick, "Error- Must click \"Make\" before copying to clip board"},
        {&TForm1::PrintButtonClick, "Error, you must click \"Make\" before printing"},
        {&TForm1::PrintLabels, "Error, you must click \"Make\" before printing labels"},
    };
    auto* printDialog = new testing::FakePrintDialog;
    form().PrintDialog1.reset(printDialog);
    for (const Row& row : rows) {
        const int beeps = desktop.beeps;
        (form().*row.button)->click();
        EXPECT_EQ(Preview(), QString::fromUtf8(row.message));
        EXPECT_EQ(desktop.beeps, beeps + 1);
        EXPECT_EQ(Focus(), form().BarTextInput);
    }
    EXPECT_TRUE(desktop.modalsShown.empty());
    EXPECT_EQ(desktop.clipboard, nullptr);
    EXPECT_EQ(printDialog->shown, 0);
}

TEST_F(CommandsTest, CopyWarnsOnceTheUserAsksAndCarriesFaceAndSize) {
    Make(QStringLiteral("1234ABCD"));
    form().PointSize->setCurrentText(QStringLiteral("36"));
    form().Tall->click();
    desktop.onShowModal = [](QDialog* dialog) {
        // The user ticks "Don't show this warning box again" and closes the box.
        static_cast<TWarningBox*>(dialog)->NoWarningBox->setChecked(true);
        return QDialog::Rejected;
    };
    form().CopyButtonClick->click();
    ASSERT_EQ(desktop.modalsShown.size(), 1u);
    EXPECT_EQ(desktop.modalsShown[0], form().WarningBox);
    ASSERT_NE(desktop.clipboard, nullptr);
    EXPECT_EQ(desktop.clipboard->text(), QStringLiteral("*1234ABCD*"));
    const QString html = desktop.clipboard->html();
    EXPECT_TRUE(html.contains(QStringLiteral("Sample 39 Tall"))) << html.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("36pt"))) << html.toStdString();
    const QByteArray rtf = desktop.clipboard->data(QStringLiteral("text/rtf"));
    EXPECT_TRUE(rtf.contains("Sample 39 Tall")) << rtf.toStdString();
    EXPECT_TRUE(rtf.contains("\\fs72")) << rtf.toStdString();

    // The warning stays off for the rest of the run.
    desktop.clipboard.reset();
    form().CopyButtonClick->click();
    EXPECT_EQ(desktop.modalsShown.size(), 1u);
    EXPECT_NE(desktop.clipboard, nullptr);
}

TEST_F(CommandsTest, SamplePrintsTheFieldsAsTheyStandInTheSelectedFace) {
    auto* printDialog = new testing::FakePrintDialog;
    form().PrintDialog1.reset(printDialog);
    form().OptionalChecksum->click();
    Make(QStringLiteral("CODE 39"));
    form().BarTextInput->setText(QStringLiteral("edited"));  // not made again
    form().Short->click();
    form().PrintButtonClick->click();
    ASSERT_EQ(printDialog->shown, 1);
    const auto& drawn = printDialog->surface.drawn;
    const auto has = [&](const QString& text, int y, const QString& face) {
        for (const auto& d : drawn) {
            if (d.text == text && d.y == y && d.face == face)
                return true;
        }
        return false;
    };
    EXPECT_TRUE(has(QStringLiteral("Data: edited    Typeface: Sample 39 Short"), 12 * 119,
                    QStringLiteral("Arial")));
    EXPECT_TRUE(has(QStringLiteral("Includes checksum"), 13 * 119, QStringLiteral("Arial")));
    EXPECT_TRUE(has(QStringLiteral("*CODE~39R*"), 16 * 119, QStringLiteral("Sample 39 Short")));
    EXPECT_TRUE(form().BarCodeMade);
    EXPECT_EQ(Focus(), form().BarTextInput);

    // A printer that cannot start reports, at the installation-message place.
    printDialog->surface.failBegin = true;
    form().PrintButtonClick->click();
    ASSERT_EQ(desktop.warnings.size(), 1u);
    EXPECT_EQ(desktop.warnings[0].topLeft, form().MessagePlace());
}

TEST_F(CommandsTest, LabelsCopyThePreviewAndOpenTheTemplateFromTheProgramFolder) {
    Make(QStringLiteral("1234ABCD"));
    QFile file(docs.ProgramFolder() + QStringLiteral("lt161.rtf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    desktop.onShowModal = [](QDialog* dialog) {
        if (auto* labels = dynamic_cast<TForm3*>(dialog))
            labels->PrintLabels->click();
        return QDialog::Accepted;
    };
    form().PrintLabels->click();
    ASSERT_EQ(desktop.modalsShown.size(), 1u);
    EXPECT_EQ(desktop.modalsShown[0], form().Form3);
    ASSERT_NE(desktop.clipboard, nullptr);
    EXPECT_EQ(desktop.clipboard->text(), QStringLiteral("*1234ABCD*"));
    ASSERT_EQ(desktop.warnings.size(), 1u);  // the paste explanation
    EXPECT_TRUE(desktop.warnings[0].text.startsWith(QStringLiteral("To add your bar code")));
    ASSERT_EQ(desktop.documentsOpened.size(), 1u);
    EXPECT_EQ(desktop.documentsOpened[0].target, QStringLiteral("lt161.rtf"));
    EXPECT_EQ(desktop.documentsOpened[0].workingFolder,
              QDir::toNativeSeparators(docs.ProgramFolder().chopped(1)));
    EXPECT_TRUE(form().BarCodeMade);
}

TEST_F(CommandsTest, AboutShowsTheAboutBoxAndReturnsTheFocus) {
    form().SpeedButton3->click();
    ASSERT_EQ(desktop.modalsShown.size(), 1u);
    EXPECT_EQ(desktop.modalsShown[0], form().Form2);
    EXPECT_EQ(Focus(), form().BarTextInput);
}

TEST_F(CommandsTest, TheDialogsExistOnceEachOwnedByTheMainWindow) {
    // Each dialog is made when first used: start-up has shown the tip and made nothing else.
    EXPECT_EQ(form().findChildren<QDialog*>(Qt::FindDirectChildrenOnly),
              QList<QDialog*>{form().Tip});
    const auto use = [this] {
        return QList<QDialog*>{form().WarningBox, form().Form2, form().Tip, form().Form3,
                               form().Form4};
    };
    const QList<QDialog*> used = use();
    EXPECT_EQ(use(), used);  // using them again makes nothing new
    const QList<QDialog*> dialogs = form().findChildren<QDialog*>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(dialogs.size(), 5);
    for (QDialog* dialog : used) EXPECT_TRUE(dialogs.contains(dialog));
    for (QDialog* dialog : dialogs) EXPECT_FALSE(dialog->isVisible());
}

}  // namespace
}  // namespace sw
