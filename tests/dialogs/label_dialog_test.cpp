#include "dialogs/label_dialog.h"

#include <gtest/gtest.h>

#include <QLineEdit>

#include "support/fake_desktop.h"

namespace sw {
namespace {

class LabelDialogTest : public ::testing::Test {
  protected:
    LabelDialogTest() : dataField(&mainWindow), dialog(desktop, &mainWindow, &dataField) {
        mainWindow.move(150, 80);
        mainWindow.show();
    }
    testing::FakeDesktop desktop;
    QWidget mainWindow;
    QLineEdit dataField;
    TForm3 dialog;
};

TEST_F(LabelDialogTest, LayoutAndInitialChoice) {
    EXPECT_EQ(dialog.windowTitle(), "Label Printing");
    EXPECT_EQ(dialog.size(), QSize(293, 341));
    EXPECT_TRUE(dialog.L4->isChecked());
    EXPECT_TRUE(dialog.ExplainPaste->isChecked());
    EXPECT_EQ(dialog.ExplainPaste->text(), "Explain how to paste a bar code on to a label");
    EXPECT_EQ(dialog.ExitLabels->text(), "&Return");
    EXPECT_EQ(dialog.PrintLabels->text(), "&Print Labels");
    EXPECT_EQ(dialog.PrintLabels->toolTip(),
              "Open the selected label template in your word processor");
    const char* captions[] = {"1.75 x 0.50", "1.75 x 1.25", "2.625 x 1.00",
                              "4.00 x 1.00", "4.00 x 1.33", "4.00 x 1.50",
                              "4.00 x 2.00", "4.00 x 3.33", "Custom"};
    const auto buttons = dialog.Buttons();
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(buttons[i]->text(), captions[i]);
        EXPECT_EQ(buttons[i]->mapTo(&dialog, QPoint(0, 0)).y(), 48 + 24 * i);
        EXPECT_GE(buttons[i]->width(), buttons[i]->sizeHint().width()) << captions[i];
    }
    EXPECT_LT(dialog.ExitLabels->x(), dialog.PrintLabels->x());
    EXPECT_LE(dialog.PrintLabels->geometry().bottom(), 341);
    EXPECT_GT(dialog.ExplainPaste->y(), buttons[8]->mapTo(&dialog, QPoint(0, 0)).y());
}

TEST_F(LabelDialogTest, LabelSizeValues) {
    struct Row {
        int stored;
        int selected;
    };
    const Row rows[] = {{1, 1}, {4, 4}, {8, 8}, {9, 9}, {0, 9}, {10, 9}, {-1, 9}, {12, 9}};
    for (const Row& r : rows) {
        dialog.SetLabelSize(r.stored);
        EXPECT_EQ(dialog.LabelSize(), r.selected) << r.stored;
        EXPECT_TRUE(dialog.Buttons()[r.selected - 1]->isChecked());
    }
}

TEST_F(LabelDialogTest, PlacementReturnAndTheLaunchHook) {
    dialog.show();
    EXPECT_EQ(dialog.pos(), mainWindow.pos() + QPoint(64, 25));
    dialog.ExitLabels->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(mainWindow.focusWidget(), &dataField);

    int launches = 0;
    dialog.onPrintLabels = [&] { ++launches; };
    dialog.show();
    dialog.PrintLabels->click();
    EXPECT_EQ(launches, 1);
    EXPECT_FALSE(dialog.isVisible());
}

}  // namespace
}  // namespace sw
