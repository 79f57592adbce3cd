#pragma once

#include "Pasteboard.h"

#include <QFuture>
#include <QPromise>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

struct xcb_connection_t;

namespace plimbo {

// Reads the X11 CLIPBOARD selection's text on a worker thread with its own X connection, so the
// GUI thread never waits for another application and never holds a huge selection. It asks for
// TARGETS first (a password manager's hint needs no text), then for the text, and stops a
// transfer (INCR included) before it would exceed the limit. Each step waits at most
// `stepTimeout` for the owner, and a newer read abandons one still in progress, so an owner
// that never answers holds up nothing for long. The worker sleeps while there is nothing to
// read; destruction stops and joins it. Created and called on one thread (the GUI thread).
class X11SelectionReader {
public:
    static constexpr std::chrono::milliseconds stepTimeout{2000};

    // Connects to the X server named by DISPLAY; none when there is none.
    static std::unique_ptr<X11SelectionReader> connect();
    ~X11SelectionReader();

    X11SelectionReader(const X11SelectionReader&) = delete;
    X11SelectionReader& operator=(const X11SelectionReader&) = delete;

    // The future finishes on the worker thread; a read abandoned for a newer one or for
    // destruction is `failed` or cancelled.
    QFuture<PasteboardText> read(qsizetype maximumBytes);

private:
    struct Request {
        QPromise<PasteboardText> promise;
        qsizetype maximumBytes = 0;
    };

    X11SelectionReader(xcb_connection_t* connection, int screen);
    void run();

    xcb_connection_t* m_connection;
    int m_screen;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::optional<Request> m_next; // guarded by m_mutex
    bool m_quit = false;           // guarded by m_mutex
    // Set when the read in progress should give up: a newer one waits, or we are quitting.
    std::atomic<bool> m_abandon{false};
    std::thread m_thread;
};

} // namespace plimbo
