#include "dialogs/update_reminder.h"

#include <gtest/gtest.h>

#include <QLineEdit>

#include "support/fake_desktop.h"

namespace sw {
namespace {

TEST(UpdateReminder, DueWhenTheStampsAreMoreThan100Apart) {
    struct Row {
        int current, install;
        bool due;
    };
    const Row rows[] = {{2701, 2601, false}, {2702, 2601, true},
                        {2712, 2612, false}, {2801, 2612, true},
                        {1, 9912, false},    {0, 0, false},
                        {2612, 1001, true},  {2147483647, -2147483647 - 1, true}};
    for (const Row& r : rows) {
        EXPECT_EQ(UpdateReminderDue(r.current, r.install), r.due) << r.current << " " << r.install;
    }
}

class ReminderDialogTest : public ::testing::Test {
  protected:
    ReminderDialogTest() : dataField(&mainWindow), dialog(desktop, &mainWindow, &dataField) {
        mainWindow.move(200, 100);
        mainWindow.show();
    }
    testing::FakeDesktop desktop;
    QWidget mainWindow;
    QLineEdit dataField;
    TForm4 dialog;
};

TEST_F(ReminderDialogTest, Layout) {
    EXPECT_EQ(dialog.windowTitle(), "Update");
    EXPECT_EQ(dialog.size(), QSize(300, 190));
    EXPECT_EQ(dialog.StopUpdateCheck->text(), "&Stop Showing This Message");
    EXPECT_EQ(dialog.StopUpdateCheck->geometry(), QRect(10, 158, 153, 25));
    EXPECT_EQ(dialog.CheckUpdate->geometry(), QRect(215, 158, 41, 25));
    EXPECT_EQ(dialog.NoUpdate->geometry(), QRect(262, 158, 32, 25));
    const QLabel* lines[] = {dialog.StaticText4, dialog.StaticText1, dialog.StaticText2,
                             dialog.StaticText3, dialog.StaticText5};
    const char* texts[] = {"Updates are available at a 50% discount",
                           "and include one year of maintenance.",
                           "Would you like to visit our web site for",
                           "more information on purchasing this", "update?"};
    const int tops[] = {73, 88, 103, 118, 132};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(lines[i]->text(), texts[i]);
        EXPECT_EQ(lines[i]->pos(), QPoint(100, tops[i]));
        EXPECT_GE(lines[i]->width(), lines[i]->sizeHint().width());
        EXPECT_LE(lines[i]->x() + lines[i]->width(), 300) << texts[i];
    }
    EXPECT_EQ(dialog.CheckUpdate->nextInFocusChain(), dialog.NoUpdate);
}

TEST_F(ReminderDialogTest, ShowingPlacesItAndFocusesYes) {
    dialog.show();
    EXPECT_EQ(dialog.pos(), mainWindow.pos() + QPoint(60, 101));
    EXPECT_EQ(dialog.focusWidget(), dialog.CheckUpdate);
    dialog.hide();
}

TEST_F(ReminderDialogTest, ButtonsSetTheStopRequestAndOpenTheUpdatePage) {
    dialog.show();
    dialog.NoUpdate->click();
    EXPECT_EQ(dialog.StopRequest, 0);
    EXPECT_FALSE(dialog.isVisible());
    dialog.show();
    dialog.CheckUpdate->click();
    EXPECT_EQ(dialog.StopRequest, 0);
    EXPECT_EQ(desktop.addressesOpened,
              QStringList{"https://www.stripewright.example/update.php?p=stripewright"});
    EXPECT_EQ(mainWindow.focusWidget(), &dataField);
    dialog.show();
    dialog.StopUpdateCheck->click();
    EXPECT_EQ(dialog.StopRequest, 1);
    EXPECT_FALSE(dialog.isVisible());
}

}  // namespace
}  // namespace sw
