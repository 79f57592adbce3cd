#include "X11PanelHints.h"

#include "X11SelectionProtocol.h"

#include <QGuiApplication>
#include <QList>
#include <QWindow>

#include <algorithm>

namespace plimbo {

namespace {

xcb_connection_t* connection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

QList<uint32_t> cardinals(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property,
                          xcb_atom_t type) {
    const XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, property, type, 0, 1024), nullptr));
    QList<uint32_t> values;
    if (reply && reply->format == 32 && reply->type == type) {
        const auto* data = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
        values = QList<uint32_t>(data, data + xcb_get_property_value_length(reply.get()) / 4);
    }
    return values;
}

void setCardinals(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property,
                  xcb_atom_t type, const QList<uint32_t>& values) {
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, property, type, 32,
                        uint32_t(values.size()), values.constData());
}

// The window's X id, or none when it is not an X window.
xcb_window_t x11Window(QWindow& window) {
    return QGuiApplication::platformName() == QLatin1String("xcb") ? xcb_window_t(window.winId())
                                                                   : xcb_window_t(XCB_NONE);
}

} // namespace

void X11PanelHints::markAsPanel(QWindow& window, bool onAllDesktops) {
    xcb_connection_t* x = connection();
    const xcb_window_t id = x ? x11Window(window) : xcb_window_t(XCB_NONE);
    if (id == XCB_NONE) {
        return;
    }
    const xcb_atom_t state = x11Atom(x, "_NET_WM_STATE");
    QList<uint32_t> states = cardinals(x, id, state, XCB_ATOM_ATOM);
    for (const char* name : {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"}) {
        const xcb_atom_t skip = x11Atom(x, name);
        if (!states.contains(skip)) {
            states << skip;
        }
    }
    setCardinals(x, id, state, XCB_ATOM_ATOM, states);
    const xcb_atom_t desktop = x11Atom(x, "_NET_WM_DESKTOP");
    if (onAllDesktops) {
        setCardinals(x, id, desktop, XCB_ATOM_CARDINAL, {0xFFFFFFFFu});
    }
    xcb_flush(x);
}

void X11PanelHints::settleMapped(QWindow& window, bool onAllDesktops) {
    xcb_connection_t* x = connection();
    const xcb_window_t id = x ? x11Window(window) : xcb_window_t(XCB_NONE);
    if (id == XCB_NONE) {
        return;
    }
    const xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(x));
    if (screens.rem <= 0) {
        return;
    }
    const xcb_window_t root = screens.data->root;
    const auto send = [&](xcb_atom_t type, std::initializer_list<uint32_t> data) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = id;
        message.type = type;
        std::copy(data.begin(), data.end(), message.data.data32);
        xcb_send_event(x, 0, root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&message));
    };
    // Qt makes a tool window without a parent transient for its whole program. Window
    // managers then treat it as part of the program's other windows: it takes their desktops,
    // and when it closes the focus goes to them, to the notch that takes none, instead of the
    // window the user was in.
    if (!window.transientParent()) {
        xcb_delete_property(x, id, XCB_ATOM_WM_TRANSIENT_FOR);
    }
    // EWMH: 0 removes a state; source 1 is an application.
    send(x11Atom(x, "_NET_WM_STATE"), {0, x11Atom(x, "_NET_WM_STATE_DEMANDS_ATTENTION"), 0, 1});
    if (onAllDesktops) {
        send(x11Atom(x, "_NET_WM_DESKTOP"), {0xFFFFFFFFu, 1});
    }
    xcb_flush(x);
}

void X11PanelHints::setTakesFocus(QWindow& window, bool takesFocus) {
    window.setFlag(Qt::WindowDoesNotAcceptFocus, !takesFocus);
    xcb_connection_t* x = connection();
    const xcb_window_t id = x ? x11Window(window) : xcb_window_t(XCB_NONE);
    if (id == XCB_NONE) {
        return;
    }
    const xcb_atom_t protocols = x11Atom(x, "WM_PROTOCOLS");
    const xcb_atom_t takeFocus = x11Atom(x, "WM_TAKE_FOCUS");
    QList<uint32_t> offered = cardinals(x, id, protocols, XCB_ATOM_ATOM);
    if (takesFocus && !offered.contains(takeFocus)) {
        offered << takeFocus;
    } else if (!takesFocus) {
        offered.removeAll(takeFocus);
    }
    setCardinals(x, id, protocols, XCB_ATOM_ATOM, offered);
    xcb_flush(x);
}

} // namespace plimbo
