// The main window's controls at their places, their texts, hints and tab order, and the help,
// tips and web link commands.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "dialogs/about_box.h"
#include "dialogs/warning_box.h"
#include "support/window_fixture.h"

namespace sw {
namespace {

class WindowLayoutTest : public testing::WindowTest {
  protected:
    void SetUp() override { Create(); }
};

TEST_F(WindowLayoutTest, EveryControlStandsAtItsPlaceWithItsCaptionAndHint) {
    struct Row {
        QWidget* TForm1::*widget;
        QRect place;  // left, top, width, height in the parent
        const char* caption;
        const char* hint;
    };
    const Row rows[] = {
        {(QWidget * TForm1::*)&TForm1::Panel1, {0, 0, 400, 131}, nullptr, ""},
        {(QWidget * TForm1::*)&TForm1::Label2,
         {28, 6, 343, 13},
         "Control the height, width, type, and options of your bar code",
         ""},
        {(QWidget * TForm1::*)&TForm1::GroupBox1,
         {8, 20, 384, 34},
         nullptr,
         "Which bar code symbology to use"},
        {(QWidget * TForm1::*)&TForm1::Radio25,
         {7, 15, 50, 14},
         "2/5",
         "Bar code 2/5 (numeric only)"},
        {(QWidget * TForm1::*)&TForm1::Radio25i,
         {68, 15, 93, 14},
         "2/5 Interleaved",
         "Bar code 2/5 interleaved (high density numeric)"},
        {(QWidget * TForm1::*)&TForm1::Radio39,
         {178, 15, 42, 14},
         "3/9",
         "Bar code 3/9 (alpha-numeric)"},
        {(QWidget * TForm1::*)&TForm1::RadioPostNet,
         {235, 15, 66, 14},
         "PostNet",
         "US PostNet (numeric)"},
        {(QWidget * TForm1::*)&TForm1::RadioUPCA,
         {315, 15, 58, 14},
         "UPC-A",
         "UPC-A (12 digit number)"},
        {(QWidget * TForm1::*)&TForm1::Label1,
         {8, 61, 191, 13},
         "Alpha numeric data, A-Z, 0-9, plus extras",
         "Information about the currently selected bar code type"},
        {(QWidget * TForm1::*)&TForm1::SpeedButton1, {232, 56, 60, 30}, "&Tips", ""},
        {(QWidget * TForm1::*)&TForm1::SpeedButton3, {295, 56, 30, 30}, "", "About this program"},
        {(QWidget * TForm1::*)&TForm1::SpeedButton2, {328, 56, 60, 30}, "&Help", ""},
        {(QWidget * TForm1::*)&TForm1::FontSize,
         {8, 86, 148, 39},
         nullptr,
         "Select the font size to use"},
        {(QWidget * TForm1::*)&TForm1::Short,
         {6, 15, 45, 17},
         "Short",
         "Short height to width ratio"},
        {(QWidget * TForm1::*)&TForm1::Normal,
         {54, 15, 48, 17},
         "Norm.",
         "Standard height to width ratio"},
        {(QWidget * TForm1::*)&TForm1::Tall,
         {103, 15, 40, 17},
         "Tall",
         "Tall height to width ratio"},
        {(QWidget * TForm1::*)&TForm1::GroupBox2, {158, 86, 73, 39}, nullptr, ""},
        {(QWidget * TForm1::*)&TForm1::PointSize, {8, 13, 57, 21}, nullptr, ""},
        {(QWidget * TForm1::*)&TForm1::TipCheckBox,
         {235, 90, 97, 17},
         "Tip of the day?",
         "Show Tip of the day after each start up?"},
        {(QWidget * TForm1::*)&TForm1::OptionalChecksum,
         {235, 108, 140, 14},
         "Add Optional Checksum?",
         "Add in the optional checksum value as the last character"},
        {(QWidget * TForm1::*)&TForm1::StaticText4,
         {0, 138, 273, 17},
         "Enter the data to be converted into a bar code:",
         ""},
        {(QWidget * TForm1::*)&TForm1::BarTextInput,
         {0, 153, 397, 23},
         nullptr,
         "Type in the data you want to convert to a bar code"},
        {(QWidget * TForm1::*)&TForm1::MakeButtonClick,
         {0, 181, 70, 30},
         "&Make",
         "Create a bar code from the data you entered above"},
        {(QWidget * TForm1::*)&TForm1::CopyButtonClick,
         {105, 181, 70, 30},
         "&Copy",
         "Copy this data string to the clip board, to paste in other programs"},
        {(QWidget * TForm1::*)&TForm1::PrintLabels,
         {211, 181, 70, 30},
         "&Labels",
         "Print sheets of bar code labels"},
        {(QWidget * TForm1::*)&TForm1::PrintButtonClick,
         {317, 181, 80, 30},
         "&Sample",
         "Print a sample page of this bar code at several different point sizes"},
        {(QWidget * TForm1::*)&TForm1::StaticText5,
         {0, 222, 303, 17},
         "This is the string to use with Stripewright's bar code fonts:",
         ""},
        {(QWidget * TForm1::*)&TForm1::BarTextOut,
         {0, 237, 397, 22},
         nullptr,
         "Use this string with our bar code fonts to print a bar code"},
        {(QWidget * TForm1::*)&TForm1::StaticText6, {0, 266, 129, 17}, "Sample bar code font:", ""},
        {(QWidget * TForm1::*)&TForm1::BarCodeOut,
         {0, 282, 397, 59},
         nullptr,
         "This is what your bar code will look like"},
    };
    for (const Row& r : rows) {
        QWidget* w = form().*r.widget;
        const QString name = w->metaObject()->className();
        EXPECT_EQ(w->pos(), r.place.topLeft()) << name.toStdString() << " " << r.caption;
        EXPECT_EQ(w->height(), r.place.height()) << r.caption;
        // A caption may take more room than the layout gave it, never less.
        EXPECT_GE(w->width(), r.place.width()) << r.caption;
        EXPECT_LE(w->width(), r.place.width() + 40) << r.caption;
        EXPECT_EQ(w->toolTip(), r.hint) << r.caption;
        if (r.caption == nullptr)
            continue;
        if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            EXPECT_EQ(b->text(), r.caption);
        }
        if (auto* l = qobject_cast<QLabel*>(w)) {
            EXPECT_EQ(l->text(), r.caption);
        }
        // Nothing is clipped: the control is as wide as its text needs.
        if (auto* push = qobject_cast<QPushButton*>(w)) {
            const int text = push->fontMetrics().horizontalAdvance(QString(r.caption).remove('&'));
            EXPECT_LE(text + push->iconSize().width() + 12, w->width()) << r.caption;
        } else {
            EXPECT_GE(w->width(), w->sizeHint().width()) << r.caption;
        }
    }
    EXPECT_EQ(form().GroupBox1->title(), " Type of bar code ");
    EXPECT_EQ(form().FontSize->title(), " Size of bar code ");
    EXPECT_EQ(form().GroupBox2->title(), " Point size ");
    EXPECT_EQ(form().windowTitle(), "Stripewright");
    EXPECT_EQ(form().size(), QSize(416, 390));
    EXPECT_EQ(form().Panel1->parentWidget()->geometry(), QRect(8, 8, 400, 374));
}

TEST_F(WindowLayoutTest, InitialStates) {
    EXPECT_TRUE(form().Radio39->isChecked());
    EXPECT_TRUE(form().Normal->isChecked());
    EXPECT_TRUE(form().TipCheckBox->isChecked());
    EXPECT_FALSE(form().OptionalChecksum->isChecked());
    EXPECT_EQ(form().PointSize->currentText(), "24");
    EXPECT_EQ(form().PointSize->currentIndex(), 3);
    QStringList sizes;
    for (int i = 0; i < form().PointSize->count(); ++i) sizes << form().PointSize->itemText(i);
    EXPECT_EQ(sizes, QStringList({"18", "20", "22", "24", "26", "28", "30", "36", "40", "48", "50",
                                  "52", "54", "58", "60", "72"}));
    EXPECT_TRUE(form().BarTextInput->text().isEmpty());
    EXPECT_FALSE(form().BarCodeMade);
    EXPECT_FALSE(form().FolderFound);
}

TEST_F(WindowLayoutTest, TabVisitsTheControlsInTheirOrder) {
    const auto names = [](const QList<QWidget*>& list) {
        QStringList result;
        for (const QWidget* w : list) result << (w ? w->objectName() : QStringLiteral("-"));
        return result.join(u' ').toStdString();
    };
    // Tab from `start` for `count` controls.
    const auto walk = [this](QWidget* start, int count) {
        start->setFocus(Qt::TabFocusReason);
        QList<QWidget*> visited;
        for (int i = 0; i < count; ++i) {
            visited << Focus();
            QTest::keyClick(Focus(), Qt::Key_Tab);
        }
        return visited;
    };
    EXPECT_EQ(names(walk(form().BarTextInput, 8)),
              names({form().BarTextInput, form().BarTextOut, form().PrintButtonClick,
                     form().CopyButtonClick, form().MakeButtonClick, form().BarCodeOut,
                     form().Normal, form().PointSize}));
    // Leaving the point size box returns to the data field, whichever way it is left.
    EXPECT_EQ(Focus(), form().BarTextInput);
    // The about button and the web link come after the others.
    EXPECT_EQ(
        names(walk(form().TipCheckBox, 7)),
        names({form().TipCheckBox, form().OptionalChecksum, form().Radio39, form().PrintLabels,
               form().SpeedButton3, form().StaticText3, form().BarTextInput}));
}

TEST_F(WindowLayoutTest, TheTypeDescriptionFitsItsText) {
    for (QRadioButton* type :
         {form().Radio25, form().Radio25i, form().Radio39, form().RadioPostNet, form().RadioUPCA}) {
        type->click();
        EXPECT_GE(form().Label1->width(), form().Label1->sizeHint().width())
            << form().Label1->text().toStdString();
    }
}

class HelpLinksTest : public testing::WindowTest {
  protected:
    void SetUp() override {
        docs.WriteSettings(testing::kTipsOnly);
        Start();
        desktop.modalsShown.clear();
    }
};

TEST_F(HelpLinksTest, HelpAndF1OpenTheHelpFileByItsBareName) {
    form().SpeedButton2->click();
    ASSERT_EQ(desktop.documentsOpened.size(), 1u);
    EXPECT_EQ(desktop.documentsOpened[0].target, "stripewright.chm");
    EXPECT_EQ(desktop.documentsOpened[0].workingFolder, "");
    EXPECT_EQ(Focus(), form().BarTextInput);

    for (Qt::KeyboardModifiers modifiers :
         {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::ShiftModifier),
          Qt::KeyboardModifiers(Qt::ControlModifier)}) {
        QTest::keyClick(form().BarTextInput, Qt::Key_F1, modifiers);
    }
    EXPECT_EQ(desktop.documentsOpened.size(), 4u);
    QTest::keyClick(form().BarTextInput, Qt::Key_F2);
    QTest::keyClick(form().MakeButtonClick, Qt::Key_F1);
    QTest::keyClick(form().PointSize, Qt::Key_F1);
    EXPECT_EQ(desktop.documentsOpened.size(), 4u);
    // Other keys still reach the field.
    QTest::keyClicks(form().BarTextInput, "AB");
    EXPECT_EQ(form().BarTextInput->text(), "AB");
}

TEST_F(HelpLinksTest, TipsShowsTheTipEvenWhenTheyAreSwitchedOff) {
    form().TipCheckBox->setChecked(false);
    form().SpeedButton1->click();
    ASSERT_EQ(desktop.modalsShown.size(), 1u);
    EXPECT_EQ(desktop.modalsShown[0], program->Tip);
    EXPECT_EQ(Focus(), form().BarTextInput);
}

TEST_F(HelpLinksTest, TheWebLinkOpensTheProductPageByMouseAndByKey) {
    QTest::mouseClick(form().StaticText3, Qt::LeftButton);
    EXPECT_EQ(desktop.addressesOpened,
              QStringList{"https://www.stripewright.example/stripewright.htm"});
    EXPECT_EQ(Focus(), form().BarTextInput);
    form().StaticText3->setFocus(Qt::TabFocusReason);
    QTest::keyClick(form().StaticText3, Qt::Key_Return);
    EXPECT_EQ(desktop.addressesOpened.size(), 2);
    EXPECT_EQ(Focus(), form().BarTextInput);
}

TEST_F(HelpLinksTest, HelpOpensTheCompiledFileWhereAViewerIsElseTheInstalledPages) {
    QTemporaryDir share;
    const QString installedFile = share.filePath("stripewright/help/stripewright.chm");
    const QString installedPage = share.filePath("doc/stripewright/html/index.htm");
    desktop.startFolder = docs.documents;
    const QString inWorkingFolder = docs.documents + "/stripewright.chm";
    struct Row {
        bool viewer;
        bool inWorking;
        bool installed;  // the compiled file and the pages
        QString document;
        QString address;
    };
    const Row rows[] = {
        {true, true, true, "stripewright.chm", ""},
        {true, false, true, installedFile, ""},
        {false, true, true, "", QUrl::fromLocalFile(installedPage).toString()},
        {false, false, false, "stripewright.chm", ""},
    };
    for (const Row& r : rows) {
        QFile::remove(inWorkingFolder);
        QDir(share.path()).removeRecursively();
        if (r.inWorking)
            QFile(inWorkingFolder).open(QIODevice::WriteOnly);
        if (r.installed) {
            for (const QString& file : {installedFile, installedPage}) {
                QDir().mkpath(QFileInfo(file).path());
                QFile(file).open(QIODevice::WriteOnly);
            }
        }
        desktop.share = share.path();
        desktop.helpViewer = r.viewer;
        desktop.documentsOpened.clear();
        desktop.addressesOpened.clear();
        form().SpeedButton2->click();
        EXPECT_EQ(desktop.documentsOpened.empty() ? "" : desktop.documentsOpened[0].target,
                  r.document);
        EXPECT_EQ(desktop.addressesOpened.value(0), r.address);
        EXPECT_EQ(desktop.documentsOpened.size() + desktop.addressesOpened.size(), 1u);
    }
}

TEST_F(HelpLinksTest, CommandsOfTheOtherPartsReturnTheFocusToTheData) {
    for (QPushButton* button :
         {form().CopyButtonClick, form().PrintButtonClick, form().PrintLabels}) {
        button->setFocus();
        button->click();
        EXPECT_EQ(Focus(), form().BarTextInput);
    }
    form().SpeedButton3->click();
    EXPECT_EQ(Focus(), form().BarTextInput);
}

TEST_F(HelpLinksTest, EnterPressesTheFocusedButtonInTheWindowAndEveryDialog) {
    form().Form3->ExitLabels->setFocus();  // the dialogs are made as a user would meet them
    const std::pair<QWidget*, QAbstractButton*> rows[] = {
        {&form(), form().MakeButtonClick},
        {&form(), form().SpeedButton3},
        {program->Form4, program->Form4->CheckUpdate},
        {program->Form4, program->Form4->StopUpdateCheck},
        {program->Tip, program->Tip->NextTip},
        {program->Form3, program->Form3->ExitLabels},
        {program->WarningBox, program->WarningBox->OKBtn},
    };
    for (const auto& [dialog, button] : rows) {
        dialog->show();
        button->setFocus();
        QSignalSpy clicked(button, &QAbstractButton::clicked);
        QTest::keyClick(button, Qt::Key_Return);
        EXPECT_EQ(clicked.count(), 1) << button->text().toStdString();
        dialog->hide();
    }
}

// A dark desktop theme, as Adwaita's dark variant gives it.
class DarkThemeTest : public testing::WindowTest {
  protected:
    DarkThemeTest() : light_(QApplication::palette()) {
        QPalette dark;
        const std::pair<QPalette::ColorRole, QColor> roles[] = {
            {QPalette::Window, QColor(0x35, 0x35, 0x35)},
            {QPalette::WindowText, Qt::white},
            {QPalette::Base, QColor(0x2d, 0x2d, 0x2d)},
            {QPalette::Text, Qt::white},
            {QPalette::Button, QColor(0x3c, 0x3c, 0x3c)},
            {QPalette::ButtonText, Qt::white},
            {QPalette::Link, QColor(0x8a, 0xb4, 0xf8)},
            {QPalette::Mid, QColor(0x50, 0x50, 0x50)},
            {QPalette::Highlight, QColor(0x15, 0x53, 0x9e)},
            {QPalette::HighlightedText, Qt::white},
        };
        for (const auto& [role, colour] : roles) dark.setColor(role, colour);
        QApplication::setPalette(dark);
    }
    ~DarkThemeTest() override { QApplication::setPalette(light_); }

    // The difference between the lightest and the darkest grey where `part` stands in its
    // window: text that can be read stands well apart from its ground.
    static int Contrast(QWidget* part) {
        QWidget* window = part->window();
        window->show();
        const QImage picture = window->grab().toImage().convertToFormat(QImage::Format_Grayscale8);
        const QRect place(part->mapTo(window, QPoint(0, 0)), part->size());
        int darkest = 255;
        int lightest = 0;
        for (int y = place.top(); y <= place.bottom(); ++y) {
            for (int x = place.left(); x <= place.right(); ++x) {
                darkest = std::min(darkest, qGray(picture.pixel(x, y)));
                lightest = std::max(lightest, qGray(picture.pixel(x, y)));
            }
        }
        return lightest - darkest;
    }

  private:
    QPalette light_;
};

TEST_F(DarkThemeTest, EveryTextStandsOutAndTheBarCodeStaysBlackOnWhite) {
    docs.WriteSettings(testing::kTipsOnly);
    Start();
    program->Tip->ShowNextTip();  // the counter
    const std::pair<QWidget*, const char*> texts[] = {
        {form().StaticText3, "web link"},
        {program->Form2->StaticText1, "about box"},
        {program->Form2->CurVersion, "about box link"},
        {program->Tip->TipLabel, "tip counter"},
        {program->Tip->NextTip, "tip button"},
        {program->Form4->StaticText4, "update reminder"},
    };
    for (const auto& [text, name] : texts) EXPECT_GE(Contrast(text), 96) << name;

    form().BarTextInput->setText(QStringLiteral("1234ABCD"));
    form().MakeButtonClick->click();
    EXPECT_TRUE(testing::BlackOnWhite(PreviewPicture()));
}

}  // namespace
}  // namespace sw
