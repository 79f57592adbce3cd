#pragma once

#include "ClipboardReadQueue.h"
#include "Pasteboard.h"

#include <QFuture>

#include <chrono>
#include <memory>
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
    X11SelectionReader(xcb_connection_t* connection, int screen,
                       std::unique_ptr<ClipboardReadQueue> queue);
    void run();

    xcb_connection_t* m_connection;
    int m_screen;
    std::unique_ptr<ClipboardReadQueue> m_queue;
    std::thread m_thread;
};

} // namespace plimbo
