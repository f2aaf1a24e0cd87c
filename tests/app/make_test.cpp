// Make, the error report in the preview, type selection, the checksum click and restyling.
#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QFontDatabase>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include "support/window_fixture.h"

namespace sw {
namespace {

class MakeTest : public testing::WindowTest {
  protected:
    void SetUp() override {
        docs.WriteSettings(testing::kTipsOnly);
        Start();
        desktop.modalsShown.clear();
    }
    QRadioButton* Button(BarCodeType type) {
        switch (type) {
            case BarCodeType::Type25:
                return form().Radio25;
            case BarCodeType::Type25i:
                return form().Radio25i;
            case BarCodeType::Type39:
                return form().Radio39;
            case BarCodeType::TypePost:
                return form().RadioPostNet;
            case BarCodeType::TypeUPC:
                return form().RadioUPCA;
            case BarCodeType::Type128:
            case BarCodeType::TypeGS1_128:
            case BarCodeType::TypeEAN13:
            case BarCodeType::TypeIMb:
                break;
        }
        return nullptr;
    }
    void Make(BarCodeType type, const QString& data, bool checksum = false) {
        Button(type)->click();
        form().OptionalChecksum->setChecked(checksum);
        form().BarTextInput->setText(data);
        form().MakeButtonClick->click();
    }
    QString Preview() { return form().BarCodeOut->toPlainText(); }
};

TEST_F(MakeTest, ASuccessfulMakeFillsBothFieldsInTheFaceAndSize) {
    struct Row {
        BarCodeType type;
        const char* data;
        bool checksum;
        const char* expected;
        const char* face;
    };
    const Row rows[] = {
        {BarCodeType::Type39, "1234ABCD", false, "*1234ABCD*", "Sample 39"},
        {BarCodeType::Type39, " ", false, "*~*", "Sample 39"},
        {BarCodeType::TypePost, "12345", false, "(123455)", "Sample Postal"},
    };
    for (const Row& r : rows) {
        Make(r.type, r.data, r.checksum);
        EXPECT_EQ(form().BarTextOut->text(), r.expected) << r.data;
        EXPECT_EQ(Preview(), r.expected) << r.data;
        EXPECT_EQ(form().BarCodeOut->font().family(), r.face);
        EXPECT_EQ(form().BarCodeOut->font().pointSize(), form().PointSize->currentText().toInt());
        EXPECT_TRUE(form().BarCodeMade);
        EXPECT_EQ(Focus(), form().BarTextInput);
        EXPECT_EQ(form().BarTextInput->text(), r.data);
    }
    EXPECT_EQ(desktop.beeps, 0);
}

TEST_F(MakeTest, EveryTypeGivesTheOutputOfItsEncoderWithTheCheckboxWhereItApplies) {
    // The encoders are tested on their own; here each type must reach its own encoder with the
    // checksum option only where it applies.
    struct Row {
        BarCodeType type;
        const char* data;
        bool checksum;
        int length;  // of the font string
    };
    const Row rows[] = {
        {BarCodeType::Type25, "123", false, 5},          {BarCodeType::Type25i, "1234", false, 4},
        {BarCodeType::Type25i, "123", true, 4},          {BarCodeType::Type39, "AB", true, 5},
        {BarCodeType::TypeUPC, "03600029145", false, 0},
    };
    for (const Row& r : rows) {
        Make(r.type, r.data, r.checksum);
        EXPECT_TRUE(form().BarCodeMade) << r.data;
        if (r.length) {
            EXPECT_EQ(form().BarTextOut->text().size(), r.length) << r.data;
        }
        EXPECT_EQ(Preview(), form().BarTextOut->text());
    }
}

TEST_F(MakeTest, DataErrorsGoIntoThePreviewInArial12WithABeep) {
    struct Row {
        BarCodeType type;
        const char* data;
        const char* message;
    };
    const Row rows[] = {
        {BarCodeType::Type25, "", "Error- no data to bar code"},
        {BarCodeType::Type25i, "", "Error- no data to bar code"},
        {BarCodeType::Type39, "", "Error- no data to bar code"},
        {BarCodeType::TypePost, "", "Error- no data to bar code"},
        {BarCodeType::TypeUPC, "", "Error- no data to bar code"},
        {BarCodeType::Type39, "12a4", "Error: input character \"a\" not legal in bar code 3 of 9"},
        {BarCodeType::TypeUPC, "123", "Error, UPC-A codes must be 11 digits long"},
        {BarCodeType::TypePost, "12345-6789",
         "Error, zip code must be 5, 9, 11, or 12 digits long"},
        {BarCodeType::Type25i, "123", "Error- you must have an even number of digits"},
    };
    int beeps = 0;
    for (const Row& r : rows) {
        Make(BarCodeType::Type39, "OK");  // something made first
        ASSERT_TRUE(form().BarCodeMade);
        Make(r.type, r.data);
        EXPECT_EQ(Preview(), r.message);
        EXPECT_EQ(form().BarCodeOut->font().family(), "Arial");
        EXPECT_EQ(form().BarCodeOut->font().pointSize(), 12);
        EXPECT_EQ(PreviewCharFont(0).family(), "Arial");
        EXPECT_EQ(form().BarTextOut->text(), "");
        EXPECT_FALSE(form().BarCodeMade);
        EXPECT_EQ(desktop.beeps, ++beeps);
        EXPECT_EQ(Focus(), form().BarTextInput);
        EXPECT_EQ(form().BarTextInput->text(), r.data);  // left to be corrected in place
    }
}

TEST_F(MakeTest, AfterAnErrorASuccessBringsTheBarCodeFontBack) {
    Make(BarCodeType::Type39, "bad");
    form().PointSize->setEditText(QStringLiteral("36"));
    form().Short->setChecked(true);
    form().MakeButtonClick->click();  // same bad data: still an error
    form().BarTextInput->setText(QStringLiteral("GOOD"));
    form().MakeButtonClick->click();
    EXPECT_EQ(form().BarCodeOut->font().family(), "Sample 39 Short");
    EXPECT_EQ(form().BarCodeOut->font().pointSize(), 36);
    EXPECT_EQ(PreviewCharFont(0).family(), "Sample 39 Short");
}

TEST_F(MakeTest, APointSizeThatIsNoWholeNumberStopsAtTheSizeWrite) {
    struct Row {
        BarCodeType type;
        const char* first;
        const char* second;
        bool outputChanges;  // the output is written before the size for the 2 of 5 types
    };
    const Row rows[] = {
        {BarCodeType::Type25, "12", "34", true},
        {BarCodeType::Type25i, "12", "34", true},
        {BarCodeType::Type39, "AB", "CD", false},
        {BarCodeType::TypePost, "12345", "54321", false},
        {BarCodeType::TypeUPC, "03600029145", "12345678901", false},
    };
    for (const Row& r : rows) {
        desktop.errors.clear();
        Make(r.type, r.first);
        const QString firstOut = form().BarTextOut->text();
        const QString firstPreview = Preview();
        form().PointSize->setEditText(QStringLiteral("abc"));
        form().BarTextInput->setText(r.second);
        form().MakeButtonClick->click();
        EXPECT_EQ(desktop.errors, QStringList{"'abc' is not a valid integer value"});
        EXPECT_TRUE(form().BarCodeMade);  // kept
        EXPECT_EQ(Preview(), firstPreview);
        EXPECT_EQ(form().BarTextOut->text() != firstOut, r.outputChanges) << r.second;
    }
    // Empty is not a whole number either.
    form().PointSize->setEditText(QString());
    form().MakeButtonClick->click();
    EXPECT_EQ(desktop.errors.back(), "'' is not a valid integer value");
}

TEST_F(MakeTest, PointSizesBeyondWhatCanBeDrawnAreHeldAtTheLimits) {
    for (const auto& [text, size] : std::vector<std::pair<QString, int>>{
             {"0", 1}, {"-5", 1}, {"99999999", 1638}, {"100", 100}}) {
        form().PointSize->setEditText(text);
        Make(BarCodeType::Type39, "X");
        EXPECT_EQ(form().BarCodeOut->font().pointSize(), size) << text.toStdString();
    }
}

TEST_F(MakeTest, EditingTheDataAfterMakeChangesNoOutput) {
    Make(BarCodeType::Type39, "ABC");
    QTest::keyClicks(form().BarTextInput, "DEF");
    EXPECT_EQ(form().BarTextOut->text(), "*ABC*");
    EXPECT_EQ(Preview(), "*ABC*");
    EXPECT_TRUE(form().BarCodeMade);
}

TEST_F(MakeTest, SelectingATypeSetsItsOptionsAndClearsTheOutput) {
    struct Row {
        BarCodeType type;
        bool checksumShown;
        bool heightsShown;
        bool tallShown;
        const char* pointSize;
        const char* description;
    };
    const Row rows[] = {
        {BarCodeType::Type25, false, true, true, "24", "Low density numeric data only"},
        {BarCodeType::Type25i, true, true, true, "24", "High density numeric data only"},
        {BarCodeType::Type39, true, true, true, "24", "Alpha numeric data, A-Z, 0-9, plus extras"},
        {BarCodeType::TypePost, false, false, true, "18",
         "Fixed length numeric data only with checksum"},
        {BarCodeType::TypeUPC, false, true, false, "50",
         "Fixed length numeric data only with checksum"},
    };
    for (const Row& r : rows) {
        const bool is39 = r.type == BarCodeType::Type39;
        Make(is39 ? BarCodeType::Type25 : BarCodeType::Type39, is39 ? "12" : "MADE");
        ASSERT_TRUE(form().BarCodeMade);
        form().PointSize->setEditText(QStringLiteral("36"));
        const QFont previewFont = form().BarCodeOut->font();
        Button(r.type)->click();
        EXPECT_EQ(!form().OptionalChecksum->isHidden(), r.checksumShown);
        EXPECT_EQ(!form().FontSize->isHidden(), r.heightsShown);
        EXPECT_EQ(!form().Tall->isHidden(), r.tallShown);
        EXPECT_EQ(form().PointSize->currentText(), r.pointSize);
        EXPECT_EQ(form().Label1->text(), r.description);
        EXPECT_EQ(form().BarTextOut->text(), "");
        EXPECT_EQ(Preview(), "");
        EXPECT_EQ(form().BarCodeOut->font(), previewFont);
        EXPECT_FALSE(form().BarCodeMade);
        EXPECT_EQ(Focus(), form().BarTextInput);
        EXPECT_EQ(form().BarTextInput->text(), is39 ? "12" : "MADE");
    }
}

TEST_F(MakeTest, UpcATakesTallAwayAndThreeOfNineGivesItBack) {
    form().Tall->click();
    form().RadioUPCA->click();
    EXPECT_TRUE(form().Normal->isChecked());
    EXPECT_TRUE(form().Tall->isHidden());
    form().Radio39->click();
    EXPECT_FALSE(form().Tall->isHidden());
    EXPECT_TRUE(form().Normal->isChecked());
}

TEST_F(MakeTest, PostNetHidesTheHeightsAndKeepsTheChoice) {
    form().Short->click();
    form().RadioPostNet->click();
    EXPECT_TRUE(form().FontSize->isHidden());
    EXPECT_TRUE(form().Short->isChecked());
    form().Radio25->click();
    EXPECT_FALSE(form().FontSize->isHidden());
    EXPECT_TRUE(form().Short->isChecked());
}

TEST_F(MakeTest, TheChecksumTickSurvivesOnlyTheTypesThatTakeIt) {
    form().Radio25i->click();
    form().OptionalChecksum->click();
    form().Radio39->click();
    EXPECT_TRUE(form().OptionalChecksum->isChecked());
    form().Radio25->click();
    EXPECT_FALSE(form().OptionalChecksum->isChecked());
    EXPECT_TRUE(form().OptionalChecksum->isHidden());
}

TEST_F(MakeTest, TheChecksumClickEmptiesTheOutputButKeepsTheMadeState) {
    Make(BarCodeType::Type39, "ABC");
    form().OptionalChecksum->click();
    EXPECT_EQ(form().BarTextOut->text(), "");
    EXPECT_EQ(Preview(), "");
    EXPECT_TRUE(form().BarCodeMade);
    EXPECT_EQ(Focus(), form().BarTextInput);
    // Without a bar code the click only moves the focus.
    form().Radio39->click();
    form().BarTextInput->setText(QStringLiteral("kept"));
    form().OptionalChecksum->click();
    EXPECT_EQ(form().BarTextInput->text(), "kept");
}

TEST_F(MakeTest, TheFaceFollowsTypeAndHeight) {
    struct Row {
        BarCodeType type;
        QRadioButton* TForm1::*height;
        const char* face;
    };
    const Row rows[] = {
        {BarCodeType::Type25, &TForm1::Short, "Sample 25 Short"},
        {BarCodeType::Type25, &TForm1::Normal, "Sample 25"},
        {BarCodeType::Type25, &TForm1::Tall, "Sample 25 Tall"},
        {BarCodeType::Type25i, &TForm1::Short, "Sample 25 Interleaved Short"},
        {BarCodeType::Type25i, &TForm1::Tall, "Sample 25 Interleaved Tall"},
        {BarCodeType::Type39, &TForm1::Normal, "Sample 39"},
        {BarCodeType::Type39, &TForm1::Tall, "Sample 39 Tall"},
        {BarCodeType::TypeUPC, &TForm1::Short, "Sample UPCA Short"},
        {BarCodeType::TypeUPC, &TForm1::Normal, "Sample UPCA"},
        {BarCodeType::TypePost, &TForm1::Short, "Sample Postal"},
        {BarCodeType::TypePost, &TForm1::Tall, "Sample Postal"},
    };
    for (const Row& r : rows) {
        Button(r.type)->click();
        (form().*r.height)->setChecked(true);
        EXPECT_EQ(form().BarcodeFontFace(), r.face);
    }
}

TEST_F(MakeTest, AHeightChangeAfterMakeRestylesTheBarCode) {
    form().PointSize->setEditText(QStringLiteral("30"));
    Make(BarCodeType::Type39, "1234ABCD");
    form().Tall->click();
    EXPECT_EQ(PreviewCharFont(0).family(), "Sample 39 Tall");
    EXPECT_EQ(PreviewCharFont(9).family(), "Sample 39 Tall");
    EXPECT_EQ(PreviewCharFont(0).pointSize(), 30);
    EXPECT_EQ(form().BarTextOut->text(), "*1234ABCD*");
    EXPECT_EQ(form().BarCodeOut->textCursor().selectedText(), "*1234ABCD*");
    EXPECT_EQ(Focus(), form().BarTextInput);

    // An error afterwards is shown in Arial, not in the restyled face.
    form().BarTextInput->clear();
    form().MakeButtonClick->click();
    EXPECT_EQ(PreviewCharFont(0).family(), "Arial");
    EXPECT_EQ(PreviewCharFont(0).pointSize(), 12);
}

TEST_F(MakeTest, HeightAndSizeChangesBeforeMakeOnlyMoveTheFocus) {
    form().BarCodeOut->setPlainText(QStringLiteral("typed by the user"));
    form().Tall->click();
    form().PointSize->setFocus();
    QTest::keyClick(form().PointSize->lineEdit(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(form().PointSize->lineEdit(), "40");
    EXPECT_EQ(PreviewCharFont(0).family(), form().BarCodeOut->font().family());
    EXPECT_EQ(Focus(), form().BarTextInput);
}

TEST_F(MakeTest, TypingAPointSizeAppliesItOnceItReaches18) {
    Make(BarCodeType::Type39, "AB");
    form().PointSize->setFocus();
    QLineEdit* edit = form().PointSize->lineEdit();
    edit->selectAll();
    QTest::keyClicks(edit, "1");
    EXPECT_TRUE(form().PointSize->hasFocus());
    QTest::keyClicks(edit, "2");  // "12": below 18, nothing happens
    EXPECT_TRUE(form().PointSize->hasFocus());
    EXPECT_EQ(PreviewCharFont(0).pointSize(), 24);
    // Leaving the box applies whatever whole number it holds.
    form().MakeButtonClick->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(PreviewCharFont(0).pointSize(), 12);
    EXPECT_EQ(Focus(), form().BarTextInput);

    form().PointSize->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "10");
    EXPECT_EQ(PreviewCharFont(0).pointSize(), 12);  // "10" on the way to "100"
    QTest::keyClicks(edit, "0");
    EXPECT_EQ(PreviewCharFont(0).pointSize(), 100);
    EXPECT_EQ(Focus(), form().BarTextInput);
}

TEST_F(MakeTest, ATypedSizeStandsAsTypedAndTheRestyledBarCodeShowsAsTheRest) {
    Make(BarCodeType::Type39, "AB");
    form().PointSize->setFocus();
    QLineEdit* edit = form().PointSize->lineEdit();
    edit->selectAll();
    QTest::keyClicks(edit, "5");  // the list holds "50", which must not complete it
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_EQ(form().PointSize->currentText(), "5");
    EXPECT_EQ(PreviewCharFont(0).pointSize(), 5);
    EXPECT_TRUE(QFontDatabase::families().contains("Sample 39"));  // loaded when first named

    // The focus is in the data field; the restyled bar code stays selected for the next
    // change, but a field without the focus shows no selection: black bars on white.
    EXPECT_EQ(Focus(), form().BarTextInput);
    EXPECT_EQ(form().BarCodeOut->textCursor().selectedText(), "*AB*");
    EXPECT_TRUE(testing::BlackOnWhite(PreviewPicture()));
}

TEST_F(MakeTest, ThePreviewShowsTheWholeBarCodeOnOneLineFromItsStart) {
    struct Row {
        BarCodeType type;
        const char* data;
        QRadioButton* TForm1::*height;
        int size;
        bool scaled;  // taller than the box
    };
    const Row rows[] = {
        {BarCodeType::Type39, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", &TForm1::Normal, 18, false},
        {BarCodeType::Type39, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", &TForm1::Tall, 24, true},
        {BarCodeType::Type39, "1234ABCD", &TForm1::Tall, 72, true},
        {BarCodeType::TypeUPC, "03600029145", &TForm1::Normal, 50, true},
        {BarCodeType::TypePost, "123456789", &TForm1::Short, 72, true},
    };
    for (const Row& r : rows) {
        Button(r.type)->click();
        (form().*r.height)->setChecked(true);
        form().PointSize->setEditText(QString::number(r.size));
        form().BarTextInput->setText(QString::fromLatin1(r.data));
        form().MakeButtonClick->click();
        PreviewEdit* preview = form().BarCodeOut;
        const QSizeF text = preview->document()->documentLayout()->documentSize();
        EXPECT_EQ(preview->document()->firstBlock().layout()->lineCount(), 1) << r.data;
        EXPECT_EQ(preview->Scale() < 1, r.scaled) << r.data;
        EXPECT_EQ(form().PreviewScale->isVisible(), r.scaled) << r.data;
        // The whole height shows, and scrolling sideways reaches the end, from the start.
        EXPECT_LE(text.height() * preview->Scale(), preview->viewport()->height()) << r.data;
        const QScrollBar* sideways = preview->horizontalScrollBar();
        EXPECT_GE((sideways->isVisible() ? sideways->maximum() : 0) + preview->viewport()->width(),
                  text.width() * preview->Scale())
            << r.data;
        EXPECT_EQ(sideways->value(), 0) << r.data;
        EXPECT_TRUE(testing::BlackOnWhite(PreviewPicture())) << r.data;
        // Only the drawing is scaled: the bar code keeps the size that Copy hands on.
        EXPECT_EQ(PreviewCharFont(0).pointSize(), r.size) << r.data;
    }
}

TEST_F(MakeTest, AnEmptyPreviewAfterATypeChangeHasNoScrollBarAndNoNote) {
    Make(BarCodeType::TypeUPC, "03600029145");
    form().PointSize->setEditText(QStringLiteral("72"));
    form().Normal->click();
    form().Short->click();
    form().Radio39->click();  // empties the preview; its font stays the large face
    ASSERT_TRUE(Preview().isEmpty());
    EXPECT_FALSE(form().BarCodeOut->verticalScrollBar()->isVisible());
    EXPECT_FALSE(form().BarCodeOut->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(form().PreviewScale->isVisible());
}

TEST_F(MakeTest, PickingASizeFromTheListAppliesItAtOnce) {
    Make(BarCodeType::Type39, "AB");
    form().PointSize->setFocus();
    form().PointSize->setCurrentIndex(15);
    emit form().PointSize->activated(15);
    EXPECT_EQ(PreviewCharFont(0).pointSize(), 72);
    EXPECT_EQ(Focus(), form().BarTextInput);
}

TEST_F(MakeTest, APointSizeTextThatIsNoNumberIsReportedOnce) {
    Make(BarCodeType::Type39, "AB");
    form().PointSize->setFocus();
    QLineEdit* edit = form().PointSize->lineEdit();
    edit->selectAll();
    QTest::keyClicks(edit, "x");  // one character: back into the box, no message
    EXPECT_TRUE(desktop.errors.isEmpty());
    QTest::keyClicks(edit, "y");
    EXPECT_EQ(desktop.errors, QStringList{"'xy' is not a valid integer value"});
    EXPECT_EQ(PreviewCharFont(0).pointSize(), 24);
}

TEST_F(MakeTest, WhenTheOutputWasEditedTheWholePreviewTakesTheNewFace) {
    Make(BarCodeType::Type39, "AB");
    form().BarTextOut->setText(QStringLiteral("edited"));
    form().Short->click();
    EXPECT_EQ(PreviewCharFont(0).family(), "Sample 39 Short");
    EXPECT_EQ(PreviewCharFont(3).family(), "Sample 39 Short");
}

}  // namespace
}  // namespace sw
