// The tooltip switch and delay, and the default handling of an error escaping a handler.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QToolTip>
#include <stdexcept>

#include "platform/handlers.h"
#include "platform/tooltips.h"
#include "support/fake_desktop.h"

namespace sw::platform {
namespace {

// Asks for the widget's tooltip, with a text not shown before, and tells whether it appeared.
bool ShowToolTipFor(QWidget& widget) {
    static int round = 0;
    widget.setToolTip(QStringLiteral("Type in the data %1").arg(++round));
    QHelpEvent event(QEvent::ToolTip, QPoint(2, 2), widget.mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(&widget, &event);
    return QToolTip::isVisible() && QToolTip::text() == widget.toolTip();
}

TEST(ToolTipController, SwitchesTooltipsOffProgramWide) {
    QLabel label(QStringLiteral("Data"));
    label.setToolTip(QStringLiteral("Type in the data"));
    label.show();
    ToolTipController tooltips;
    tooltips.SetHideDelay(6000);
    EXPECT_TRUE(ShowToolTipFor(label));
    QToolTip::hideText();

    tooltips.SetEnabled(false);
    EXPECT_FALSE(ShowToolTipFor(label));
    tooltips.SetEnabled(true);
    EXPECT_TRUE(ShowToolTipFor(label));
    QToolTip::hideText();
}

TEST(RunHandler, ReportsTheErrorTextAndGoesOn) {
    testing::FakeDesktop desktop;
    QWidget owner;
    int after = 0;
    RunHandler(desktop, &owner,
               [] { throw std::runtime_error("'x1' is not a valid integer value"); });
    RunHandler(desktop, &owner, [&] { ++after; });
    RunHandler(desktop, &owner, [] { throw 42; });
    ASSERT_EQ(desktop.errors.size(), 2);
    EXPECT_EQ(desktop.errors[0], "'x1' is not a valid integer value");
    EXPECT_EQ(desktop.errors[1], "An unexpected error occurred.");
    EXPECT_EQ(after, 1);
}

TEST(ConnectHandler, AClickWhoseHandlerThrowsShowsTheErrorBox) {
    testing::FakeDesktop desktop;
    QWidget owner;
    auto* button = new QPushButton(&owner);
    int clicks = 0;
    ConnectHandler(desktop, &owner, button, &QPushButton::clicked, [&] {
        if (++clicks == 1)
            throw std::runtime_error("Unable to write to /x");
    });
    button->click();
    button->click();
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(desktop.errors, QStringList{"Unable to write to /x"});
}

}  // namespace
}  // namespace sw::platform
