#include "ScreenWindows.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace plimbo::test {

namespace {

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T> Reply<T> reply(T* raw) {
    return Reply<T>(raw, &std::free);
}

// One short-lived connection per question: the tests ask seldom.
class Connection {
public:
    Connection()
        : m_connection(xcb_connect(nullptr, nullptr)) {
        if (xcb_connection_has_error(m_connection) == 0) {
            m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        }
    }
    ~Connection() { xcb_disconnect(m_connection); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    xcb_connection_t* get() const { return m_connection; }
    xcb_window_t root() const { return m_root; }

private:
    xcb_connection_t* m_connection;
    xcb_window_t m_root = XCB_NONE;
};

} // namespace

std::optional<QRect> ScreenWindows::frame(quint64 window) {
    const Connection x;
    if (x.root() == XCB_NONE) {
        return std::nullopt;
    }
    const auto id = static_cast<xcb_window_t>(window);
    auto geometry = reply(xcb_get_geometry_reply(x.get(), xcb_get_geometry(x.get(), id), nullptr));
    auto at = reply(xcb_translate_coordinates_reply(
        x.get(), xcb_translate_coordinates(x.get(), id, x.root(), 0, 0), nullptr));
    if (!geometry || !at) {
        return std::nullopt;
    }
    return QRect(at->dst_x, at->dst_y, geometry->width, geometry->height);
}

QList<quint64> ScreenWindows::topmostAt(const QPoint& screenPoint) {
    const Connection x;
    QList<quint64> path;
    xcb_window_t parent = x.root();
    // Each step names the topmost mapped child of `parent` that holds the point.
    for (int depth = 0; parent != XCB_NONE && depth < 16; ++depth) {
        auto at = reply(xcb_translate_coordinates_reply(
            x.get(),
            xcb_translate_coordinates(x.get(), x.root(), parent,
                                      static_cast<int16_t>(screenPoint.x()),
                                      static_cast<int16_t>(screenPoint.y())),
            nullptr));
        if (!at || at->child == XCB_NONE) {
            break;
        }
        path.append(at->child);
        parent = at->child;
    }
    return path;
}

} // namespace plimbo::test
