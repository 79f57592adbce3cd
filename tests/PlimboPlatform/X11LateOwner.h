#pragma once

#include <xcb/xcb.h>

#include <poll.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace plimbo::test {

// Another X client that owns the clipboard and answers every request for it, but only after
// `delay`, as a busy application would. It counts the answers it could not write, which is what
// kills an Xlib program with the default error handler (xclip among them).
class X11LateOwner {
public:
    static constexpr const char* text = "a late answer";

    explicit X11LateOwner(std::chrono::milliseconds delay)
        : m_delay(delay) {
        m_connection = xcb_connect(nullptr, nullptr);
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        m_window = xcb_generate_id(m_connection);
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, m_window, root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        m_targets = atom("TARGETS");
        m_utf8String = atom("UTF8_STRING");
        xcb_set_selection_owner(m_connection, m_window, atom("CLIPBOARD"), XCB_CURRENT_TIME);
        std::free(
            xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
        m_thread = std::thread([this] { serve(); });
    }
    ~X11LateOwner() {
        m_quit = true;
        m_thread.join();
        xcb_disconnect(m_connection);
    }

    X11LateOwner(const X11LateOwner&) = delete;
    X11LateOwner& operator=(const X11LateOwner&) = delete;

    int answers() const { return m_answers; }
    int failedAnswers() const { return m_failedAnswers; }

private:
    xcb_atom_t atom(const char* name) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, uint16_t(std::strlen(name)), name),
            nullptr);
        const xcb_atom_t found = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return found;
    }

    void serve() {
        while (!m_quit) {
            xcb_generic_event_t* event = xcb_poll_for_event(m_connection);
            if (!event) {
                pollfd descriptor{xcb_get_file_descriptor(m_connection), POLLIN, 0};
                ::poll(&descriptor, 1, 20);
                continue;
            }
            if ((event->response_type & 0x7f) == XCB_SELECTION_REQUEST) {
                const auto request = *reinterpret_cast<xcb_selection_request_event_t*>(event);
                std::this_thread::sleep_for(m_delay);
                answer(request);
            }
            std::free(event);
        }
    }

    void answer(const xcb_selection_request_event_t& request) {
        xcb_void_cookie_t write;
        if (request.target == m_targets) {
            const xcb_atom_t offered[] = {m_targets, m_utf8String};
            write =
                xcb_change_property_checked(m_connection, XCB_PROP_MODE_REPLACE, request.requestor,
                                            request.property, XCB_ATOM_ATOM, 32, 2, offered);
        } else {
            write = xcb_change_property_checked(m_connection, XCB_PROP_MODE_REPLACE,
                                                request.requestor, request.property, m_utf8String,
                                                8, uint32_t(std::strlen(text)), text);
        }
        xcb_selection_notify_event_t notify{};
        notify.response_type = XCB_SELECTION_NOTIFY;
        notify.time = request.time;
        notify.requestor = request.requestor;
        notify.selection = request.selection;
        notify.target = request.target;
        notify.property = request.property;
        xcb_send_event(m_connection, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&notify));
        if (xcb_generic_error_t* error = xcb_request_check(m_connection, write)) {
            std::free(error);
            ++m_failedAnswers;
        }
        ++m_answers;
    }

    std::chrono::milliseconds m_delay;
    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_window = XCB_NONE;
    xcb_atom_t m_targets = XCB_ATOM_NONE;
    xcb_atom_t m_utf8String = XCB_ATOM_NONE;
    std::atomic<bool> m_quit{false};
    std::atomic<int> m_answers{0};
    std::atomic<int> m_failedAnswers{0};
    std::thread m_thread;
};

} // namespace plimbo::test
