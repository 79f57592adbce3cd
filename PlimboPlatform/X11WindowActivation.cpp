#include "X11WindowActivation.h"

#include "X11SelectionProtocol.h"

#include <QGuiApplication>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace plimbo {

namespace {

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T> Reply<T> reply(T* raw) {
    return Reply<T>(raw, &std::free);
}

// The focus may sit on PointerRoot (1) or nowhere (None).
constexpr xcb_window_t pointerRoot = 1;

// _NET_ACTIVE_WINDOW source indication of a pager: we act for the user who dismissed a panel,
// and window managers apply their focus-stealing rules to ordinary applications.
constexpr quint32 sourcePager = 2;

} // namespace

X11WindowActivation::X11WindowActivation() {
    if (auto* x11 =
            qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr) {
        m_connection = x11->connection();
    }
    if (m_connection) {
        const xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
        m_root = screens.rem > 0 ? screens.data->root : 0;
    }
}

X11WindowActivation::X11WindowActivation(xcb_connection_t* connection)
    : m_connection(connection) {
    if (m_connection && xcb_connection_has_error(m_connection) == 0) {
        const xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
        m_root = screens.rem > 0 ? screens.data->root : 0;
    }
}

bool X11WindowActivation::usable() const {
    return m_connection && m_root != 0 && xcb_connection_has_error(m_connection) == 0;
}

xcb_atom_t X11WindowActivation::atom(const char* name) {
    return x11Atom(m_connection, name);
}

namespace {

// The first value of a 32-bit property, or 0.
quint32 cardinalProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property,
                         xcb_atom_t type) {
    if (property == XCB_ATOM_NONE) {
        return 0;
    }
    auto answer = reply(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, property, type, 0, 1), nullptr));
    if (!answer || answer->format != 32 || xcb_get_property_value_length(answer.get()) < 4) {
        return 0;
    }
    return *static_cast<const quint32*>(xcb_get_property_value(answer.get()));
}

} // namespace

bool X11WindowActivation::windowManagerSupportsActiveWindow() {
    // A window manager that has gone leaves its root properties behind: trust them only while
    // its check window still names itself.
    const xcb_atom_t check = atom("_NET_SUPPORTING_WM_CHECK");
    const xcb_window_t wmWindow = cardinalProperty(m_connection, m_root, check, XCB_ATOM_WINDOW);
    if (wmWindow == 0 ||
        cardinalProperty(m_connection, wmWindow, check, XCB_ATOM_WINDOW) != wmWindow) {
        return false;
    }
    const xcb_atom_t activeWindow = atom("_NET_ACTIVE_WINDOW");
    auto supported = reply(xcb_get_property_reply(
        m_connection,
        xcb_get_property(m_connection, 0, m_root, atom("_NET_SUPPORTED"), XCB_ATOM_ATOM, 0, 4096),
        nullptr));
    if (!supported || supported->format != 32) {
        return false;
    }
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(supported.get()));
    const int count = xcb_get_property_value_length(supported.get()) / 4;
    for (int i = 0; i < count; ++i) {
        if (atoms[i] == activeWindow) {
            return true;
        }
    }
    return false;
}

xcb_window_t X11WindowActivation::activeWindowProperty() {
    return cardinalProperty(m_connection, m_root, atom("_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW);
}

xcb_window_t X11WindowActivation::focusedTopLevel() {
    auto focus =
        reply(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    if (!focus || focus->focus == XCB_NONE || focus->focus == pointerRoot ||
        focus->focus == m_root) {
        return 0;
    }
    // The focus may rest on a subwindow: the application is known by its top-level window.
    xcb_window_t window = focus->focus;
    for (int depth = 0; depth < 64; ++depth) {
        auto tree = reply(
            xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, window), nullptr));
        if (!tree) {
            return 0;
        }
        if (tree->parent == m_root || tree->parent == XCB_NONE) {
            return window;
        }
        window = tree->parent;
    }
    return 0;
}

quint32 X11WindowActivation::processOf(xcb_window_t window) {
    return cardinalProperty(m_connection, window, atom("_NET_WM_PID"), XCB_ATOM_CARDINAL);
}

bool X11WindowActivation::isViewable(xcb_window_t window) {
    auto attributes = reply(xcb_get_window_attributes_reply(
        m_connection, xcb_get_window_attributes(m_connection, window), nullptr));
    return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
}

std::optional<RunningApplication> X11WindowActivation::frontmostApplication() {
    if (!usable()) {
        return std::nullopt;
    }
    const xcb_window_t window =
        windowManagerSupportsActiveWindow() ? activeWindowProperty() : focusedTopLevel();
    if (window == 0) {
        return std::nullopt;
    }
    return RunningApplication{processOf(window), window};
}

bool X11WindowActivation::activate(const RunningApplication& application) {
    const auto window = static_cast<xcb_window_t>(application.windowID);
    if (!usable() || window == 0 || application.windowID > 0xFFFFFFFFu) {
        return false;
    }
    if (windowManagerSupportsActiveWindow()) {
        // The window may have been closed meanwhile; then there is nothing to ask for.
        auto attributes = reply(xcb_get_window_attributes_reply(
            m_connection, xcb_get_window_attributes(m_connection, window), nullptr));
        if (!attributes) {
            return false;
        }
        xcb_client_message_event_t message;
        std::memset(&message, 0, sizeof message);
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = atom("_NET_ACTIVE_WINDOW");
        message.data.data32[0] = sourcePager;
        message.data.data32[1] = XCB_CURRENT_TIME;
        message.data.data32[2] = 0;
        xcb_send_event(m_connection, 0, m_root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(m_connection);
        return true;
    }
    // No window manager: raise and focus the window ourselves. Focusing a window that is not
    // viewable is an error, so it is checked first.
    if (!isViewable(window)) {
        return false;
    }
    const quint32 stackAbove = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(m_connection, window, XCB_CONFIG_WINDOW_STACK_MODE, &stackAbove);
    auto error = reply(xcb_request_check(
        m_connection, xcb_set_input_focus_checked(m_connection, XCB_INPUT_FOCUS_PARENT, window,
                                                  XCB_CURRENT_TIME)));
    return !error;
}

} // namespace plimbo
