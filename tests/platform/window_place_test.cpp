// Where a window with a stored place comes up when the screens have changed since.
#include <gtest/gtest.h>

#include "platform/window_place.h"

namespace sw::platform {
namespace {

TEST(ReachablePlace, StaysWhileItsTitleBarIsOnAScreenElseComesToTheNearest) {
    const QList<QRect> screens = {{0, 0, 1280, 1024}, {1280, 0, 1920, 1080}};
    const QSize frame(418, 411);
    const int title = 21;
    struct Row {
        QPoint stored;
        QPoint expected;
    };
    const Row rows[] = {
        {{100, 100}, {100, 100}},
        {{-410, 1000}, {-410, 1000}},  // a corner of the title bar shows: the user can reach it
        {{3400, 300}, {2782, 300}},    // right of a monitor since removed
        {{100, -400}, {100, 0}},       // above every screen
        {{500, 1030}, {500, 613}},     // below the shorter screen's bottom
        {{-2000, -2000}, {0, 0}},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(ReachablePlace(QRect(r.stored, frame), title, screens), r.expected)
            << r.stored.x() << "," << r.stored.y();
    }
    // A frame larger than the screen keeps its top-left corner on it.
    EXPECT_EQ(ReachablePlace(QRect(QPoint(5000, 50), QSize(2000, 400)), title, {{0, 0, 800, 600}}),
              QPoint(0, 50));
}

}  // namespace
}  // namespace sw::platform
