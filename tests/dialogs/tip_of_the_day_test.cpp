// The tip of the day's walk through the tips, its wrap-around and its messages.
#include "dialogs/tip_of_the_day.h"

#include <gtest/gtest.h>

#include <QToolButton>

#include "platform/ini_file.h"
#include "support/fake_desktop.h"
#include "support/temp_documents.h"

namespace sw {
namespace {

class TipTest : public ::testing::Test {
  protected:
    TipTest() : tip(desktop, &mainWindow) {
        desktop.documents = docs.documents;
        mainWindow.move(100, 50);
    }
    // A file with tips 0..count-1, the given position and maximum (omitted when negative).
    void WriteTips(int count, int position, int maximum) {
        QByteArray text = "[TipoftheDay]\nEnabled=1\n";
        if (position >= 0)
            text += "Position=" + QByteArray::number(position) + "\n";
        if (maximum >= 0)
            text += "Maximum=" + QByteArray::number(maximum) + "\n";
        text += "[Tips]\n";
        for (int i = 0; i < count; ++i) {
            text += QByteArray::number(i) + "=Tip number " + QByteArray::number(i) + "\n";
        }
        docs.WriteSettings(text);
    }
    int Position() {
        return platform::IniFile(docs.SettingsPath()).ReadInteger("TipoftheDay", "Position", -99);
    }
    QString Shown() { return tip.Memo1->toPlainText(); }

    testing::TempDocuments docs;
    testing::FakeDesktop desktop;
    QWidget mainWindow;
    TTip tip;
};

TEST_F(TipTest, LayoutAndFirstText) {
    EXPECT_EQ(tip.windowTitle(), "Tip of the Day");
    EXPECT_EQ(tip.size(), QSize(300, 180));
    EXPECT_EQ(tip.Memo1->geometry(), QRect(8, 44, 280, 89));
    EXPECT_EQ(tip.Memo1->toPlainText(), "A helpfull hint goes here.");
    EXPECT_EQ(tip.TipLabel->text(), "");
    EXPECT_EQ(tip.SpeedButton1->geometry(), QRect(70, 145, 87, 30));
    EXPECT_EQ(tip.NextTip->geometry(), QRect(162, 145, 68, 30));
    EXPECT_EQ(tip.ExitTips->geometry(), QRect(238, 145, 54, 30));
    EXPECT_EQ(tip.SpeedButton1->text(), "&Previous");
    EXPECT_EQ(tip.NextTip->toolTip(), "Show the next tip");
    EXPECT_EQ(tip.ExitTips->toolTip(), "Return back to the program");
    EXPECT_EQ(tip.Memo1->focusPolicy() & Qt::TabFocus, 0);
}

TEST_F(TipTest, ShowingPlacesTheDialogAndShowsTheTipAtThePosition) {
    WriteTips(5, 0, 4);
    tip.show();
    EXPECT_EQ(tip.pos(), mainWindow.pos() + QPoint(60, 100));
    EXPECT_EQ(Shown(), "Tip number 0");
    EXPECT_EQ(tip.TipLabel->text(), "Tip 1 of 5");
    EXPECT_EQ(Position(), 1);
    tip.hide();
    tip.show();  // each showing moves on by one tip
    EXPECT_EQ(Shown(), "Tip number 1");
    tip.ExitTips->click();
    EXPECT_FALSE(tip.isVisible());
}

TEST_F(TipTest, WalksForwardsAndBackwardsWithWrapAround) {
    struct Step {
        const char* action;  // "next" or "prev"
        const char* shown;
        const char* counter;
        int position;
    };
    struct Walk {
        int count, position, maximum;
        std::vector<Step> steps;
    };
    const Walk walks[] = {
        // On tip 4 (Position 5), Next finds no key 5 and falls back to tip 0.
        {5, 5, 4, {{"next", "Tip number 0", "Tip 1 of 5", 1}}},
        // On tip 0, Previous wraps to the last tip.
        {5, 1, 4, {{"prev", "Tip number 4", "Tip 5 of 5", 5}}},
        // On tip 3, Previous shows tip 2.
        {5, 4, 4, {{"prev", "Tip number 2", "Tip 3 of 5", 3}}},
        // Position 0: Previous writes Maximum - 1.
        {5, 0, 4, {{"prev", "Tip number 3", "Tip 4 of 5", 4}}},
        // Tips beyond Maximum are shown, with counters beyond it, before the fall-back.
        {7,
         5,
         4,
         {{"next", "Tip number 5", "Tip 6 of 5", 6},
          {"next", "Tip number 6", "Tip 7 of 5", 7},
          {"next", "Tip number 0", "Tip 1 of 5", 1}}},
        // Without Maximum: the counter says 2, and Previous on tip 0 stays on tip 0.
        {3,
         0,
         -1,
         {{"next", "Tip number 0", "Tip 1 of 2", 1}, {"prev", "Tip number 0", "Tip 1 of 2", 1}}},
        // A negative position leads to tip 0.
        {3, -5 + 0, 2, {{"next", "Tip number 0", "Tip 1 of 3", 1}}},
        // Without Position: tip 0.
        {3, -1, 2, {{"next", "Tip number 0", "Tip 1 of 3", 1}}},
    };
    for (const Walk& w : walks) {
        if (w.position == -5) {
            WriteTips(w.count, 0, w.maximum);
            platform::IniFile(docs.SettingsPath()).WriteInteger("TipoftheDay", "Position", -5);
        } else {
            WriteTips(w.count, w.position, w.maximum);
        }
        for (const Step& s : w.steps) {
            if (std::string(s.action) == "next")
                tip.NextTip->click();
            else
                tip.SpeedButton1->click();
            EXPECT_EQ(Shown(), s.shown) << w.position << " " << s.action;
            EXPECT_EQ(tip.TipLabel->text(), s.counter) << w.position << " " << s.action;
            EXPECT_EQ(Position(), s.position) << w.position << " " << s.action;
        }
    }
    EXPECT_TRUE(desktop.warnings.empty());
}

TEST_F(TipTest, ALongCounterStaysClearOfThePreviousButton) {
    WriteTips(25, 24, 99);
    tip.NextTip->click();
    EXPECT_EQ(tip.TipLabel->text(), "Tip 25 of 100");
    EXPECT_LE(tip.TipLabel->geometry().right(), tip.SpeedButton1->x());
}

TEST_F(TipTest, ATipReadingXXXXCountsAsMissing) {
    docs.WriteSettings("[TipoftheDay]\nPosition=1\nMaximum=2\n[Tips]\n0=Zero\n1=XXXX\n2=Two\n");
    tip.NextTip->click();
    EXPECT_EQ(Shown(), "Zero");
    EXPECT_EQ(Position(), 1);
}

TEST_F(TipTest, NoTipsAtAllIsABadFile) {
    docs.WriteSettings("[TipoftheDay]\nPosition=3\nMaximum=2\n[Tips]\n7=Seven\n");
    tip.TipLabel->setText(QStringLiteral("Tip 9 of 9"));
    tip.NextTip->click();
    ASSERT_EQ(desktop.warnings.size(), 1u);
    EXPECT_EQ(desktop.warnings[0].text,
              "The Tip-of-the-Day file is bad! Please re-install this product.");
    EXPECT_EQ(desktop.warnings[0].topLeft, mainWindow.pos() + QPoint(100, 100));
    EXPECT_EQ(Shown(), "");
    EXPECT_EQ(tip.TipLabel->text(), "Tip 9 of 9");
    EXPECT_EQ(Position(), 0);
}

TEST_F(TipTest, MissingSectionGivesTheNotFoundMessageAndChangesNothing) {
    for (const QByteArray& file :
         {QByteArray(), QByteArray("[TipoftheDay]\n[Tips]\n0=Zero\n"), QByteArray("x")}) {
        if (file == "x") {
            QFile::remove(docs.SettingsPath());
        } else {
            docs.WriteSettings(file);
        }
        desktop.warnings.clear();
        const QByteArray before = docs.ReadSettings();
        tip.NextTip->click();
        tip.SpeedButton1->click();
        ASSERT_EQ(desktop.warnings.size(), 2u);
        for (const auto& w : desktop.warnings) {
            EXPECT_EQ(w.text,
                      "The Tip-of-the-Day file could not be found! Please re-install this "
                      "product.");
        }
        EXPECT_EQ(Shown(), "A helpfull hint goes here.");
        EXPECT_EQ(docs.ReadSettings(), before);
    }
}

TEST_F(TipTest, AFailedWriteIsReportedAsAnError) {
    WriteTips(3, 0, 2);
    QFile::setPermissions(docs.SettingsPath(), QFileDevice::ReadOwner | QFileDevice::ReadUser);
    tip.NextTip->click();
    ASSERT_EQ(desktop.errors.size(), 1);
    EXPECT_TRUE(desktop.errors[0].startsWith("Unable to write to "));
}

}  // namespace
}  // namespace sw
