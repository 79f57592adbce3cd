#pragma once

#include "Pasteboard.h"

#include <QFuture>
#include <QPromise>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

struct xcb_connection_t;

namespace plimbo {

// Reads the X11 CLIPBOARD selection's text on a worker thread with its own X connection, so the
// GUI thread never waits for another application and never holds a huge selection. Each step of
// a read waits at most `stepTimeout` for the owner, and a newer read abandons one still in
// progress, so an owner that never answers holds up nothing for long; what an abandoned read's
// owner still sends is taken and dropped, so the owner is not left stuck or hurt. The worker
// sleeps while there is nothing to read or drop; destruction stops and joins it. Created and
// called on one thread (the GUI thread).
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

    X11SelectionReader(xcb_connection_t* connection, int screen, int wake);
    void run();
    // Raises or lowers m_wake; call with m_mutex held.
    void setWake(bool raised);

    xcb_connection_t* m_connection;
    int m_screen;
    std::mutex m_mutex;
    // An eventfd, readable while a request waits or we are quitting; raised and lowered under
    // m_mutex.
    int m_wake;
    std::optional<Request> m_next; // guarded by m_mutex
    bool m_quit = false;           // guarded by m_mutex
    // Set when the read in progress should give up: a newer one waits, or we are quitting.
    std::atomic<bool> m_abandon{false};
    std::thread m_thread;
};

} // namespace plimbo
