#include "platform/window_place.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QThread>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstdlib>
#include <limits>
#include <optional>

#ifdef SW_HAVE_XCB
#include <xcb/xcb.h>

#include <QtGui/qguiapplication_platform.h>
#endif

namespace sw::platform {

namespace {

// Squared distance between two rectangles (0 when they meet).
qint64 Distance(const QRect& a, const QRect& b) {
    const qint64 dx = std::max({0, b.left() - a.right(), a.left() - b.right()});
    const qint64 dy = std::max({0, b.top() - a.bottom(), a.top() - b.bottom()});
    return dx * dx + dy * dy;
}

bool OnX11() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

// The frame's margins round the window's client area, once the window manager has told them.
QMargins FrameMargins(const QWidget* window) {
    const QWindow* handle = window->windowHandle();
    return handle ? handle->frameMargins() : QMargins();
}

bool Framed(const QWidget* window) {
    return window->isVisible() && !FrameMargins(window).isNull();
}

#ifdef SW_HAVE_XCB
xcb_connection_t* XConnection() {
    auto* x11 = OnX11() ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}
#endif

// Whether a window manager runs, which would put a frame round a new window: one that follows
// the desktop's conventions says so on the root window.
bool WindowManagerRuns(const QWidget* window) {
#ifdef SW_HAVE_XCB
    xcb_connection_t* connection = XConnection();
    if (!connection || !window->testAttribute(Qt::WA_WState_Created))
        return false;
    static constexpr char kName[] = "_NET_SUPPORTING_WM_CHECK";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, sizeof kName - 1, kName), nullptr);
    if (!atom)
        return false;
    const xcb_atom_t check = atom->atom;
    std::free(atom);
    if (check == XCB_ATOM_NONE)
        return false;
    xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(
        connection, xcb_get_geometry(connection, static_cast<xcb_window_t>(window->winId())),
        nullptr);
    if (!geometry)
        return false;
    const xcb_window_t root = geometry->root;
    std::free(geometry);
    xcb_get_property_reply_t* property = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, root, check, XCB_ATOM_WINDOW, 0, 1), nullptr);
    const bool runs = property && xcb_get_property_value_length(property) > 0;
    std::free(property);
    return runs;
#else
    (void)window;
    return false;
#endif
}

// Where the window's client area stands on the screen, asked of the X server.
std::optional<QPoint> ClientOnScreen(const QWidget* window) {
#ifdef SW_HAVE_XCB
    xcb_connection_t* connection = XConnection();
    if (!connection || !window->testAttribute(Qt::WA_WState_Created) || !window->windowHandle())
        return std::nullopt;
    const auto id = static_cast<xcb_window_t>(window->winId());
    xcb_get_geometry_reply_t* geometry =
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, id), nullptr);
    if (!geometry)
        return std::nullopt;
    const xcb_window_t root = geometry->root;
    std::free(geometry);
    xcb_translate_coordinates_reply_t* place = xcb_translate_coordinates_reply(
        connection, xcb_translate_coordinates(connection, id, root, 0, 0), nullptr);
    if (!place)
        return std::nullopt;
    const qreal ratio = window->windowHandle()->devicePixelRatio();
    const QPoint client(qRound(place->dst_x / ratio), qRound(place->dst_y / ratio));
    std::free(place);
    return client;
#else
    (void)window;
    return std::nullopt;
#endif
}

}  // namespace

QPoint ReachablePlace(const QRect& frame, int titleHeight, const QList<QRect>& screens) {
    const QRect title(frame.topLeft(), QSize(frame.width(), std::max(1, titleHeight)));
    const QRect* nearest = nullptr;
    qint64 nearestDistance = std::numeric_limits<qint64>::max();
    for (const QRect& screen : screens) {
        if (screen.intersects(title))
            return frame.topLeft();
        const qint64 distance = Distance(title, screen);
        if (distance < nearestDistance) {
            nearestDistance = distance;
            nearest = &screen;
        }
    }
    if (!nearest)
        return frame.topLeft();
    const auto bring = [](int at, int size, int low, int high) {
        return std::max(low, std::min(at, high + 1 - size));
    };
    return {bring(frame.left(), frame.width(), nearest->left(), nearest->right()),
            bring(frame.top(), frame.height(), nearest->top(), nearest->bottom())};
}

void AwaitFrame(QWidget* window) {
    if (!OnX11() || !window->isVisible() ||
        window->windowFlags().testFlag(Qt::FramelessWindowHint) || !WindowManagerRuns(window)) {
        return;
    }
    QElapsedTimer clock;
    clock.start();
    while (!Framed(window) && clock.elapsed() < 1000) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (!Framed(window))
            QThread::msleep(5);
    }
}

QPoint FramePosition(const QWidget* window) {
    if (window->isVisible()) {
        if (const std::optional<QPoint> client = ClientOnScreen(window)) {
            const QMargins margins = FrameMargins(window);
            return *client - QPoint(margins.left(), margins.top());
        }
    }
    return window->frameGeometry().topLeft();
}

void RestoreFramePosition(QWidget* window, QPoint point) {
    const QMargins margins = FrameMargins(window);
    const int titleHeight =
        margins.top() > 0 ? margins.top() : window->style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const QRect frame(point, window->size().grownBy(margins));
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) screens << screen->geometry();
    // Once the frame is known, the toolkit moves a shown window by its frame's corner.
    window->move(ReachablePlace(frame, titleHeight, screens));
}

}  // namespace sw::platform
