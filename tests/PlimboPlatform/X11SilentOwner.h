#pragma once

#include <xcb/xcb.h>

#include <cstdlib>

namespace plimbo::test {

// Another X client that takes the clipboard and then never answers a request for it, as a
// frozen application would. Gives it up when it goes.
class X11SilentOwner {
public:
    X11SilentOwner() {
        m_connection = xcb_connect(nullptr, nullptr);
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        const xcb_window_t window = xcb_generate_id(m_connection);
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, window, root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        const char name[] = "CLIPBOARD";
        xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, sizeof name - 1, name), nullptr);
        xcb_set_selection_owner(m_connection, window, atom->atom, XCB_CURRENT_TIME);
        std::free(atom);
        // Waits until the server has made it the owner.
        std::free(
            xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    }
    ~X11SilentOwner() { xcb_disconnect(m_connection); }

    X11SilentOwner(const X11SilentOwner&) = delete;
    X11SilentOwner& operator=(const X11SilentOwner&) = delete;

private:
    xcb_connection_t* m_connection = nullptr;
};

} // namespace plimbo::test
