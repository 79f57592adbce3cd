#pragma once

#include <QGuiApplication>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

namespace plimbo::test {

inline bool haveX11() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") &&
           QGuiApplication::platformName() == QLatin1String("xcb");
}

inline bool xdotool(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    // xdotool never waits on us, so a blocking wait cannot deadlock here.
    return process.waitForFinished(5000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// Another X client, as another application would be: its own connection and windows.
class X11TestClient {
public:
    X11TestClient() {
        m_connection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(m_connection) == 0) {
            m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        }
    }
    ~X11TestClient() {
        for (xcb_window_t window : m_windows) {
            xcb_destroy_window(m_connection, window);
        }
        sync();
        xcb_disconnect(m_connection);
    }
    X11TestClient(const X11TestClient&) = delete;
    X11TestClient& operator=(const X11TestClient&) = delete;

    bool usable() const { return m_root != 0; }
    xcb_connection_t* connection() const { return m_connection; }
    xcb_window_t root() const { return m_root; }

    // Waits until the server has handled every request so far.
    void sync() const {
        std::free(
            xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    }

    xcb_atom_t atom(const char* name) const {
        std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
            xcb_intern_atom_reply(
                m_connection,
                xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
                nullptr),
            &std::free);
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }

    void setCardinals(xcb_window_t window, const char* property, xcb_atom_t type,
                      const QList<uint32_t>& values) const {
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window, atom(property), type, 32,
                            static_cast<uint32_t>(values.size()), values.constData());
        sync();
    }
    void deleteProperty(xcb_window_t window, const char* property) const {
        xcb_delete_property(m_connection, window, atom(property));
        sync();
    }

    // A mapped top-level window whose _NET_WM_PID is `pid` (none when 0).
    xcb_window_t createWindow(uint32_t pid, xcb_window_t parent = 0) {
        const xcb_window_t window = xcb_generate_id(m_connection);
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, window, parent ? parent : m_root, 10,
                          10, 120, 80, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0,
                          nullptr);
        if (pid != 0) {
            setCardinals(window, "_NET_WM_PID", XCB_ATOM_CARDINAL, {pid});
        }
        xcb_map_window(m_connection, window);
        m_windows.prepend(window);
        sync();
        return window;
    }
    void destroyWindow(xcb_window_t window) {
        xcb_destroy_window(m_connection, window);
        m_windows.removeAll(window);
        sync();
    }
    void unmapWindow(xcb_window_t window) const {
        xcb_unmap_window(m_connection, window);
        sync();
    }

    void focus(xcb_window_t window) const {
        xcb_set_input_focus(m_connection, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
        sync();
    }
    xcb_window_t focused() const {
        std::unique_ptr<xcb_get_input_focus_reply_t, decltype(&std::free)> reply(
            xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr),
            &std::free);
        return reply ? reply->focus : XCB_NONE;
    }

    uint32_t cardinal(xcb_window_t window, const char* property, xcb_atom_t type) const {
        const PropertyReply reply = read(window, atom(property), type, 1);
        if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4) {
            return 0;
        }
        return *static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    }
    // A 32-bit property's values (atoms, cardinals, WM_HINTS' fields); empty when unset.
    QList<uint32_t> values(xcb_window_t window, const char* property) const {
        const PropertyReply reply = read(window, atom(property), XCB_GET_PROPERTY_TYPE_ANY, 1024);
        QList<uint32_t> result;
        if (reply && reply->format == 32) {
            const auto* data = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
            result = QList<uint32_t>(data, data + xcb_get_property_value_length(reply.get()) / 4);
        }
        return result;
    }
    bool hasProperty(xcb_window_t window, const char* property) const {
        const PropertyReply reply = read(window, atom(property), XCB_GET_PROPERTY_TYPE_ANY, 1);
        return reply && reply->type != XCB_ATOM_NONE;
    }
    QString title(xcb_window_t window) const {
        const PropertyReply reply =
            read(window, atom("_NET_WM_NAME"), XCB_GET_PROPERTY_TYPE_ANY, 256);
        if (!reply || reply->type == XCB_ATOM_NONE) {
            return QString();
        }
        return QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(reply.get())),
                                 xcb_get_property_value_length(reply.get()));
    }
    bool isViewable(xcb_window_t window) const {
        std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> reply(
            xcb_get_window_attributes_reply(
                m_connection, xcb_get_window_attributes(m_connection, window), nullptr),
            &std::free);
        return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
    }
    QSize size(xcb_window_t window) const {
        std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> reply(
            xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, window), nullptr),
            &std::free);
        return reply ? QSize(reply->width, reply->height) : QSize();
    }
    QList<xcb_window_t> children(xcb_window_t window) const {
        std::unique_ptr<xcb_query_tree_reply_t, decltype(&std::free)> reply(
            xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, window), nullptr),
            &std::free);
        QList<xcb_window_t> list;
        if (reply) {
            const xcb_window_t* first = xcb_query_tree_children(reply.get());
            list = QList<xcb_window_t>(first, first + xcb_query_tree_children_length(reply.get()));
        }
        return list;
    }
    // Every window below `top` (depth first), `top` excluded.
    QList<xcb_window_t> descendants(xcb_window_t top) const {
        QList<xcb_window_t> all;
        for (xcb_window_t child : children(top)) {
            all.append(child);
            all.append(descendants(child));
        }
        return all;
    }
    // The viewable top-level window of process `pid` titled `title`, if there is one.
    std::optional<xcb_window_t> topLevel(qint64 pid, const QString& title) const {
        for (xcb_window_t window : children(m_root)) {
            if (cardinal(window, "_NET_WM_PID", XCB_ATOM_CARDINAL) == pid && isViewable(window) &&
                this->title(window) == title) {
                return window;
            }
        }
        return std::nullopt;
    }
    // Asks the window to close, as a window manager's close button does.
    void requestClose(xcb_window_t window) const {
        xcb_client_message_event_t message;
        std::memset(&message, 0, sizeof message);
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = atom("WM_PROTOCOLS");
        message.data.data32[0] = atom("WM_DELETE_WINDOW");
        message.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(m_connection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&message));
        sync();
    }

private:
    using PropertyReply = std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)>;

    // Up to `length` 32-bit units of a property; null when the server did not answer.
    PropertyReply read(xcb_window_t window, xcb_atom_t property, xcb_atom_t type,
                       uint32_t length) const {
        return PropertyReply(xcb_get_property_reply(m_connection,
                                                    xcb_get_property(m_connection, 0, window,
                                                                     property, type, 0, length),
                                                    nullptr),
                             &std::free);
    }

    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = 0;
    QList<xcb_window_t> m_windows;
};

} // namespace plimbo::test
