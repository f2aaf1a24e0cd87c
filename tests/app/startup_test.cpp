// The start-up sequence, the settings it restores or writes, and the close.
#include <gtest/gtest.h>

#include <QDir>
#include <QGuiApplication>
#include <QScreen>

#include "support/window_fixture.h"

namespace sw {
namespace {

using testing::kTipsOnly;

class StartupTest : public testing::WindowTest {
  protected:
    // The keys of the "Settings" section in file order.
    QStringList SettingsKeysInOrder() {
        QStringList keys;
        bool inSettings = false;
        for (const QByteArray& line : docs.ReadSettings().split('\n')) {
            if (line.startsWith('['))
                inSettings = line == "[Settings]";
            else if (inSettings && line.contains('='))
                keys << QString(line.left(line.indexOf('=')));
        }
        return keys;
    }
};

TEST_F(StartupTest, FirstRunWritesTheTwelveKeysInOrderAndShowsTheTip) {
    docs.WriteSettings(kTipsOnly);
    Start();
    EXPECT_EQ(SettingsKeysInOrder(),
              QStringList({"Count", "HintsOff", "Left", "Top", "Type", "Data", "FontSize",
                           "PointSize", "Checksum", "LabelSize", "LabelExplain", "InstDt"}));
    auto settings = ini();
    EXPECT_EQ(settings.ReadInteger("Settings", "Count", -1), 1);
    EXPECT_EQ(settings.ReadString("Settings", "HintsOff", ""), "0");
    EXPECT_EQ(settings.ReadInteger("Settings", "Left", -1), form().x());
    EXPECT_EQ(settings.ReadInteger("Settings", "Top", -1), form().y());
    EXPECT_EQ(settings.ReadString("Settings", "Type", ""), "39");
    EXPECT_EQ(settings.ReadString("Settings", "Data", ""), "1234ABCD");
    EXPECT_EQ(settings.ReadString("Settings", "FontSize", ""), "N");
    EXPECT_EQ(settings.ReadString("Settings", "PointSize", ""), "24");
    EXPECT_EQ(settings.ReadString("Settings", "Checksum", ""), "0");
    EXPECT_EQ(settings.ReadString("Settings", "LabelSize", ""), "4");
    EXPECT_EQ(settings.ReadString("Settings", "LabelExplain", ""), "1");
    EXPECT_EQ(settings.ReadInteger("Settings", "InstDt", -1), 2612);

    // The window keeps its initial state, and the tip of the day is shown.
    EXPECT_TRUE(form().Radio39->isChecked());
    EXPECT_TRUE(form().Normal->isChecked());
    EXPECT_EQ(form().PointSize->currentText(), "24");
    EXPECT_EQ(form().BarTextInput->text(), "");
    EXPECT_FALSE(form().BarCodeMade);
    EXPECT_TRUE(form().FolderFound);
    EXPECT_EQ(form().CurrentStamp, 0);
    EXPECT_EQ(form().InstallStamp, 0);
    ASSERT_EQ(desktop.modalsShown.size(), 1u);
    EXPECT_EQ(desktop.modalsShown[0], program->Tip);
    EXPECT_TRUE(desktop.warnings.empty());
    EXPECT_EQ(Focus(), form().BarTextInput);
    EXPECT_EQ(form().StaticText3->toolTip(), "Version 8.5");
    EXPECT_EQ(form().tooltips().HideDelay(), 6000);
}

TEST_F(StartupTest, SecondRunRestoresWhatTheFirstLeftAndCounts) {
    docs.WriteSettings(kTipsOnly);
    Start();
    form().Radio25i->setChecked(true);
    form().BarTextInput->setText(QStringLiteral("0123456789"));
    form().Tall->setChecked(true);
    form().PointSize->setEditText(QStringLiteral("36"));
    form().OptionalChecksum->setChecked(true);
    program->Form3->L7->setChecked(true);
    program->Form3->ExplainPaste->setChecked(false);
    form().TipCheckBox->setChecked(false);
    form().move(200, 150);
    const QPoint closedAt = form().pos();
    Close();
    desktop.modalsShown.clear();

    Start();
    EXPECT_EQ(ini().ReadInteger("Settings", "Count", -1), 2);
    EXPECT_EQ(form().RunCounter, 2);
    EXPECT_EQ(form().pos(), closedAt);
    EXPECT_TRUE(form().Radio25i->isChecked());
    EXPECT_EQ(form().BarTextInput->text(), "0123456789");
    EXPECT_EQ(form().BarTextInput->selectedText(), "0123456789");
    EXPECT_TRUE(form().BarTextInput->KeepSelection());
    EXPECT_EQ(Focus(), form().BarTextInput);
    EXPECT_TRUE(form().Tall->isChecked());
    EXPECT_EQ(form().PointSize->currentText(), "36");
    EXPECT_TRUE(form().OptionalChecksum->isChecked());
    EXPECT_EQ(program->Form3->LabelSize(), 7);
    EXPECT_FALSE(program->Form3->ExplainPaste->isChecked());
    EXPECT_FALSE(form().TipCheckBox->isChecked());
    EXPECT_TRUE(desktop.modalsShown.empty());  // tips were switched off
    EXPECT_EQ(form().CurrentStamp, 2612);
    EXPECT_EQ(form().InstallStamp, 2612);
}

TEST_F(StartupTest, AStoredPlaceOffEveryScreenComesBackOnTheNearestOne) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QPoint stored(screen.right() + 600, screen.top() + 40);  // a monitor since removed
    docs.WriteSettings(kTipsOnly + QByteArray("[Settings]\nCount=3\nLeft=") +
                       QByteArray::number(stored.x()) + "\nTop=" + QByteArray::number(stored.y()) +
                       "\n");
    Start();
    EXPECT_TRUE(screen.contains(form().frameGeometry())) << form().frameGeometry().x();
    EXPECT_EQ(form().frameGeometry().top(), stored.y());
}

TEST_F(StartupTest, DialogsAreMadeWhenFirstUsedAndTheLabelChoicesWaitForTheirs) {
    docs.WriteSettings(
        "[TipoftheDay]\nEnabled=0\n[Tips]\n0=Tip zero\n"
        "[Settings]\nCount=3\nInstDt=2612\nLabelSize=6\nLabelExplain=0\n");
    Start();
    EXPECT_FALSE(program->WarningBox.IsMade() || program->Form2.IsMade() || program->Tip.IsMade() ||
                 program->Form3.IsMade() || program->Form4.IsMade());
    Close();
    EXPECT_EQ(ini().ReadInteger("Settings", "LabelSize", -1), 6);
    EXPECT_EQ(ini().ReadInteger("Settings", "LabelExplain", -1), 0);

    Start();
    EXPECT_EQ(program->Form3->LabelSize(), 6);  // made now, with what start-up restored
    EXPECT_FALSE(program->Form3->ExplainPaste->isChecked());
}

TEST_F(StartupTest, AFirstRunThatNeverClosedBringsBackTheDefaultData) {
    docs.WriteSettings(kTipsOnly);
    Start();
    form().BarTextInput->setText(QStringLiteral("LOST"));
    program.reset();  // killed: no close
    Start();
    EXPECT_EQ(form().BarTextInput->text(), "1234ABCD");
    EXPECT_EQ(form().BarTextInput->selectedText(), "1234ABCD");
}

TEST_F(StartupTest, UnrecognisedStoredValuesSelectTheFallbacks) {
    struct Row {
        const char* type;
        const char* fontSize;
        const char* labelSize;
        QRadioButton* TForm1::*typeButton;
        QRadioButton* TForm1::*heightButton;
        int label;
    };
    const Row rows[] = {
        {"post", "X", "0", &TForm1::RadioUPCA, &TForm1::Tall, 9},
        {"", "n", "12", &TForm1::RadioUPCA, &TForm1::Tall, 9},
        {"Post", "S", "-1", &TForm1::RadioPostNet, &TForm1::Short, 9},
        {"25", "N", "abc", &TForm1::Radio25, &TForm1::Normal, 4},
        {"25i", "T", "0x3", &TForm1::Radio25i, &TForm1::Tall, 3},
    };
    for (const Row& r : rows) {
        docs.WriteSettings(kTipsOnly + QByteArray("[Settings]\nCount=3\nType=") + r.type +
                           "\nFontSize=" + r.fontSize + "\nLabelSize=" + r.labelSize + "\n");
        Start();
        EXPECT_TRUE((form().*r.typeButton)->isChecked()) << r.type;
        EXPECT_TRUE((form().*r.heightButton)->isChecked()) << r.fontSize;
        EXPECT_EQ(program->Form3->LabelSize(), r.label) << r.labelSize;
        Close();
        EXPECT_EQ(ini().ReadInteger("Settings", "LabelSize", -1), r.label) << r.labelSize;
    }
}

TEST_F(StartupTest, UpcAStoredWithTallKeepsTallSelectedAndItsFaceIsTheNormalOne) {
    docs.WriteSettings(kTipsOnly + QByteArray("[Settings]\nCount=3\nType=UPC\nFontSize=T\n"));
    Start();
    EXPECT_TRUE(form().RadioUPCA->isChecked());
    EXPECT_TRUE(form().Tall->isChecked());
    EXPECT_TRUE(form().Tall->isHidden());
    EXPECT_EQ(form().BarcodeFontFace(), "Sample UPCA");
}

TEST_F(StartupTest, StoredPointSizeAndChecksumReplaceWhatTheTypeSet) {
    docs.WriteSettings(kTipsOnly +
                       QByteArray("[Settings]\nCount=3\nType=Post\nPointSize=7x\nChecksum=1\n"));
    Start();
    EXPECT_TRUE(form().RadioPostNet->isChecked());
    EXPECT_EQ(form().PointSize->currentText(), "7x");  // restored as stored
    EXPECT_TRUE(form().OptionalChecksum->isChecked());
    EXPECT_TRUE(form().FontSize->isHidden());
    EXPECT_TRUE(desktop.errors.isEmpty());
}

TEST_F(StartupTest, HintsOffSwitchesEveryTooltipOffForTheRun) {
    docs.WriteSettings(kTipsOnly + QByteArray("[Settings]\nCount=3\nHintsOff=1\n"));
    Start();
    EXPECT_FALSE(form().tooltips().Enabled());
    Close();
    docs.WriteSettings(kTipsOnly + QByteArray("[Settings]\nCount=3\nHintsOff=0\n"));
    Start();
    EXPECT_TRUE(form().tooltips().Enabled());
}

TEST_F(StartupTest, MissingProgramFolderRunsTheSetUpAndGoesOnWithWhatItMade) {
    QDir(docs.ProgramFolder()).removeRecursively();
    desktop.onRunSetup = [this] {
        QDir().mkpath(docs.ProgramFolder());
        docs.WriteSettings(kTipsOnly);
        return QString();
    };
    Start();
    EXPECT_EQ(desktop.setupRuns, 1);
    EXPECT_TRUE(desktop.warnings.empty());
    EXPECT_TRUE(form().FolderFound);
    EXPECT_EQ(ini().ReadInteger("Settings", "Count", -1), 1);  // a first run
    ASSERT_EQ(desktop.modalsShown.size(), 1u);
    EXPECT_EQ(desktop.modalsShown[0], program->Tip);
}

TEST_F(StartupTest, MissingProgramFolderAfterTheSetUpWarnsOnceWithItsReasonAndWritesNothing) {
    QDir(docs.ProgramFolder()).removeRecursively();
    desktop.onRunSetup = [] { return QStringLiteral("stripewright-setup: the disk is full"); };
    Start();
    EXPECT_EQ(desktop.setupRuns, 1);
    ASSERT_EQ(desktop.warnings.size(), 1u);
    EXPECT_EQ(desktop.warnings[0].text,
              "The folder " + QDir::toNativeSeparators(docs.documents + "/Stripewright/") +
                  " is missing, please re-install this product.\n"
                  "stripewright-setup: the disk is full");
    EXPECT_EQ(desktop.warnings[0].topLeft, form().pos() + QPoint(100, 100));
    EXPECT_FALSE(form().FolderFound);
    EXPECT_TRUE(desktop.modalsShown.empty());
    EXPECT_TRUE(form().TipCheckBox->isChecked());
    form().TipCheckBox->setChecked(false);
    Close();
    EXPECT_FALSE(QFileInfo::exists(docs.ProgramFolder()));
    EXPECT_FALSE(QFileInfo::exists(docs.SettingsPath()));
}

TEST_F(StartupTest, MissingTipSectionWarnsAndShowsNoTip) {
    for (const QByteArray& file :
         {QByteArray(),
          QByteArray("[Settings]\nCount=3\nInstDt=2612\n[TipoftheDay]\n[Tips]\n0=x\n")}) {
        docs.WriteSettings(file);
        desktop.warnings.clear();
        desktop.modalsShown.clear();
        Start();
        ASSERT_EQ(desktop.warnings.size(), 1u);
        EXPECT_EQ(desktop.warnings[0].text,
                  "The Tip-of-the-Day file could not be found! Please re-install this product.");
        EXPECT_EQ(desktop.warnings[0].topLeft, form().pos() + QPoint(100, 100));
        EXPECT_TRUE(desktop.modalsShown.empty());
        EXPECT_TRUE(form().TipCheckBox->isChecked());
        Close();
    }
}

TEST_F(StartupTest, MissingCountReadsTenAndMissingStampIsJanuary2010) {
    docs.WriteSettings(kTipsOnly + QByteArray("[Settings]\nType=39\n"));
    Start();
    EXPECT_EQ(ini().ReadInteger("Settings", "Count", -1), 11);
    EXPECT_EQ(form().InstallStamp, 1001);
    // December 2026 is far beyond 13 months after January 2010: the reminder, not the tip.
    ASSERT_EQ(desktop.modalsShown.size(), 1u);
    EXPECT_EQ(desktop.modalsShown[0], program->Form4);
}

TEST_F(StartupTest, UnreadableCountIsTenAndElevenIsWritten) {
    docs.WriteSettings(kTipsOnly + QByteArray("[Settings]\nCount=abc\nInstDt=2612\n"));
    Start();
    EXPECT_EQ(ini().ReadInteger("Settings", "Count", -1), 11);
}

TEST_F(StartupTest, CountOfZeroMarksAFreshInstallation) {
    docs.WriteSettings(kTipsOnly + QByteArray("[Settings]\nCount=0\nInstDt=1001\n"));
    desktop.today = QDate(2027, 3, 2);
    Start();
    EXPECT_EQ(ini().ReadInteger("Settings", "Count", -1), 1);
    EXPECT_EQ(ini().ReadInteger("Settings", "InstDt", -1), 2703);
    EXPECT_EQ(form().CurrentStamp, 0);
    EXPECT_EQ(form().InstallStamp, 0);
    ASSERT_EQ(desktop.modalsShown.size(), 1u);
    EXPECT_EQ(desktop.modalsShown[0], program->Tip);
}

TEST_F(StartupTest, CountAtTheLargestIntegerStaysThere) {
    docs.WriteSettings(kTipsOnly + QByteArray("[Settings]\nCount=2147483647\nInstDt=2612\n"));
    Start();
    EXPECT_EQ(ini().ReadInteger("Settings", "Count", -1), 2147483647);
}

TEST_F(StartupTest, TheReminderIsDueThirteenMonthsAfterTheStamp) {
    struct Row {
        int instDt;
        QDate today;
        bool reminder;
    };
    const Row rows[] = {
        {2601, QDate(2027, 1, 31), false}, {2601, QDate(2027, 2, 1), true},
        {2612, QDate(2027, 12, 1), false}, {2612, QDate(2028, 1, 1), true},
        {9912, QDate(2000, 1, 1), false},  {-2147483647, QDate(2026, 1, 1), true},
    };
    for (const Row& r : rows) {
        docs.WriteSettings(kTipsOnly + QByteArray("[Settings]\nCount=5\nInstDt=") +
                           QByteArray::number(r.instDt) + "\n");
        desktop.today = r.today;
        desktop.modalsShown.clear();
        Start();
        ASSERT_EQ(desktop.modalsShown.size(), 1u);
        EXPECT_EQ(desktop.modalsShown[0] == program->Form4, r.reminder)
            << r.instDt << " " << r.today.toString().toStdString();
        EXPECT_TRUE(form().TipCheckBox->isChecked());
        Close();
    }
}

TEST_F(StartupTest, StoppingTheReminderRestartsItsClock) {
    docs.WriteSettings(
        "[TipoftheDay]\nEnabled=0\nPosition=0\nMaximum=0\n[Tips]\n0=Tip zero\n"
        "[Settings]\nCount=5\nInstDt=2401\n");
    desktop.today = QDate(2027, 2, 14);
    desktop.onShowModal = [this](QDialog* dialog) {
        EXPECT_EQ(dialog, program->Form4);
        program->Form4->StopUpdateCheck->click();
        return QDialog::Rejected;
    };
    Start();
    EXPECT_EQ(ini().ReadInteger("Settings", "InstDt", -1), 2702);
    EXPECT_EQ(program->Form4->StopRequest, 0);
    EXPECT_FALSE(form().TipCheckBox->isChecked());  // from "Enabled", with no tip shown
    Close();

    // The next start takes the tip path (tips are off, so nothing is shown at all).
    desktop.onShowModal = nullptr;
    desktop.modalsShown.clear();
    Start();
    EXPECT_TRUE(desktop.modalsShown.empty());
    EXPECT_TRUE(desktop.warnings.empty());
}

TEST_F(StartupTest, YesAndNoLeaveTheStampSoTheReminderComesAgain) {
    for (QPushButton* TForm4::*button : {&TForm4::CheckUpdate, &TForm4::NoUpdate}) {
        docs.WriteSettings(kTipsOnly + QByteArray("[Settings]\nCount=5\nInstDt=2401\n"));
        desktop.addressesOpened.clear();
        desktop.onShowModal = [this, button](QDialog*) {
            (program->Form4->*button)->click();
            return QDialog::Accepted;
        };
        Start();
        EXPECT_EQ(ini().ReadInteger("Settings", "InstDt", -1), 2401);
        if (button == &TForm4::CheckUpdate) {
            EXPECT_EQ(desktop.addressesOpened,
                      QStringList{"https://www.stripewright.example/update.php?p=stripewright"});
        } else {
            EXPECT_TRUE(desktop.addressesOpened.isEmpty());
        }
        Close();
    }
}

TEST_F(StartupTest, TheTipAdvancesFromOneStartToTheNext) {
    docs.WriteSettings(kTipsOnly);
    desktop.onShowModal = [](QDialog* dialog) {
        dialog->show();  // runs the dialog's activation, as a modal showing does
        dialog->hide();
        return QDialog::Rejected;
    };
    Start();
    EXPECT_EQ(program->Tip->Memo1->toPlainText(), "Tip zero");
    Close();
    Start();
    EXPECT_EQ(program->Tip->Memo1->toPlainText(), "Tip one");
    EXPECT_EQ(program->Tip->TipLabel->text(), "Tip 2 of 3");
    EXPECT_EQ(ini().ReadInteger("TipoftheDay", "Position", -1), 2);
}

TEST_F(StartupTest, TheTipCheckBoxWritesAtOnceWhenTheFolderExists) {
    docs.WriteSettings(kTipsOnly);
    Start();
    form().TipCheckBox->click();
    EXPECT_EQ(ini().ReadString("TipoftheDay", "Enabled", ""), "0");
    EXPECT_EQ(Focus(), form().BarTextInput);
    form().TipCheckBox->click();
    EXPECT_EQ(ini().ReadString("TipoftheDay", "Enabled", ""), "1");
}

TEST_F(StartupTest, CloseWritesTheWindowState) {
    docs.WriteSettings(kTipsOnly);
    Start();
    form().Radio39->setChecked(true);
    form().Tall->setChecked(true);
    form().BarTextInput->setText(QStringLiteral(" ABC "));
    form().PointSize->setEditText(QStringLiteral("not a size"));
    Close();
    auto settings = ini();
    EXPECT_EQ(settings.ReadString("Settings", "Type", ""), "39");
    EXPECT_EQ(settings.ReadString("Settings", "FontSize", ""), "T");
    EXPECT_EQ(settings.ReadString("Settings", "Data", ""), " ABC ");
    EXPECT_EQ(settings.ReadString("Settings", "PointSize", ""), "not a size");
    EXPECT_EQ(settings.ReadString("Settings", "LabelSize", ""), "4");
    EXPECT_EQ(settings.ReadString("Settings", "Count", ""), "1");  // not written at close
}

TEST_F(StartupTest, AFailedWriteAtCloseIsReportedAndTheLaterWritesAreNotMade) {
    docs.WriteSettings(kTipsOnly);
    Start();
    const QByteArray before = docs.ReadSettings();
    QFile::setPermissions(docs.SettingsPath(), QFileDevice::ReadOwner | QFileDevice::ReadUser);
    form().BarTextInput->setText(QStringLiteral("NEW"));
    Close();
    EXPECT_EQ(desktop.errors,
              QStringList{"Unable to write to " + QDir::toNativeSeparators(docs.SettingsPath())});
    EXPECT_EQ(docs.ReadSettings(), before);
}

}  // namespace
}  // namespace sw
