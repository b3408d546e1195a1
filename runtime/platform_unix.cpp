// Linux and the other free desktops.
#include "runtime/platform.h"

#include <QAccessible>
#include <QByteArray>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QThread>
#include <QVersionNumber>
#include <QWindow>
#include <QtGlobal>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>

#include <memory>
#endif

namespace dilmora::runtime::platform {

QStringList dialogFontFamilies()
{
    // Liberation Sans shares Arial's metrics, so every cell holds its text
    // as it would in Arial; where neither is installed, the sans serif.
    return {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
            QStringLiteral("Helvetica")};
}

void prepareProcess()
{
    // On a Wayland desktop Qt takes its wayland plugin first, where
    // qt6-wayland is installed. Under a compositor that leaves the title bar
    // to the program (GNOME, weston) that plugin draws its own, with minimise
    // and maximise buttons whatever the window asks for, and maximising a
    // window of fixed size ends the connection. Through Xwayland the
    // desktop's own window manager draws the frame the window asks for, so
    // X11 comes first wherever an X server is named; Qt goes on to wayland
    // where it cannot reach one. A platform that the user names wins.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")
        && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("xcb;wayland"));
}

#if QT_CONFIG(xcb)

namespace {

template <typename Reply> using XcbReply = std::unique_ptr<Reply, decltype(&std::free)>;

xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    const XcbReply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(qstrlen(name)), name),
            nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

/// The 32-bit values of a property, or none when it is not set.
QList<uint32_t> cardinals(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property,
                          xcb_atom_t type, uint32_t count)
{
    const XcbReply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, window, property, type, 0, count), nullptr),
        &std::free);
    if (!reply || reply->type != type || reply->format != 32)
        return {};
    const auto* values = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    return QList<uint32_t>(values, values + xcb_get_property_value_length(reply.get()) / 4);
}

} // namespace

QMarginsF frameMargins(QWindow& window)
{
    // Elsewhere (Wayland, where the compositor places the window; Qt's
    // offscreen platform, which offers an X11 interface without a connection)
    // Qt's own answer stands.
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection || QGuiApplication::platformName() != QLatin1String("xcb"))
        return window.frameMargins();
    const auto id = static_cast<xcb_window_t>(window.winId());
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const xcb_atom_t extents = atom(connection, "_NET_FRAME_EXTENTS");
    const xcb_atom_t request = atom(connection, "_NET_REQUEST_FRAME_EXTENTS");

    // A window manager that supports it sets _NET_FRAME_EXTENTS on an
    // unmapped window when asked, as the frame it will give the window.
    QList<uint32_t> margins = cardinals(connection, id, extents, XCB_ATOM_CARDINAL, 4);
    if (margins.size() != 4
        && cardinals(connection, root, atom(connection, "_NET_SUPPORTED"), XCB_ATOM_ATOM, 4096)
               .contains(request)) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = id;
        message.type = request;
        xcb_send_event(connection, 0, root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(connection);
        // A busy window manager may take a while; one that never answers
        // costs this much once per window shown.
        const QDeadlineTimer deadline(1500);
        while ((margins = cardinals(connection, id, extents, XCB_ATOM_CARDINAL, 4)).size() != 4
               && !deadline.hasExpired())
            QThread::msleep(2);
    }
    if (margins.size() != 4)
        return window.frameMargins();
    // left, right, top, bottom, in the screen's pixels
    return QMarginsF(margins[0], margins[2], margins[1], margins[3]) / window.devicePixelRatio();
}

#else

QMarginsF frameMargins(QWindow& window)
{
    return window.frameMargins();
}

#endif

void announce(QAccessibleInterface* notice, QAccessibleInterface*)
{
    // Orca speaks a notification that shows. (A new description of the
    // focused object would not do: Qt's AT-SPI bridge sends the object
    // instead of the text with the change, and Orca cannot speak that.)
    QAccessibleEvent shown(notice, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

void boundTeardown(int status)
{
    // Qt 6.4's wayland plugin may hang for good in its display's destructor,
    // after every window is gone: its event thread waits in
    // wl_display_read_events() for a read that never comes, and the
    // destructor waits for that thread. The program has nothing to save, so
    // a teardown that has not ended after five seconds ends the process, and
    // says so. The plugin is loaded at run time: the running Qt decides.
    if (QGuiApplication::platformName() != QLatin1String("wayland")
        || QVersionNumber::fromString(QLatin1String(qVersion())) >= QVersionNumber(6, 5))
        return;
    std::thread([status] {
        std::this_thread::sleep_for(std::chrono::seconds(5));
        std::fputs("Qt's wayland plugin did not finish its teardown in 5 s; the process ends now\n",
                   stderr);
        std::_Exit(status);
    }).detach();
}

} // namespace dilmora::runtime::platform
