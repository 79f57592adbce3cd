#pragma once

#include "Pasteboard.h"

#include <QFuture>
#include <QPromise>

#include <atomic>
#include <mutex>
#include <optional>

namespace plimbo {

// Hands clipboard reads from the thread that asks (the GUI thread) to a reader's worker thread.
// One read waits at most: a newer one supersedes it, and `abandon` tells the read in progress to
// give up. `wakeDescriptor` (an eventfd) is readable while a read waits or the worker should
// quit, so the worker can sleep in poll beside its own descriptors.
class ClipboardReadQueue {
public:
    struct Request {
        QPromise<PasteboardText> promise;
        qsizetype maximumBytes = 0;

        void finish(const PasteboardText& result);
    };

    // Invalid when no eventfd could be made.
    ClipboardReadQueue();
    ~ClipboardReadQueue();

    ClipboardReadQueue(const ClipboardReadQueue&) = delete;
    ClipboardReadQueue& operator=(const ClipboardReadQueue&) = delete;

    bool isValid() const { return m_wake >= 0; }
    int wakeDescriptor() const { return m_wake; }
    const std::atomic<bool>& abandon() const { return m_abandon; }

    // Asker's side. A read still waiting is finished as `failed`.
    QFuture<PasteboardText> push(qsizetype maximumBytes);
    // Asks the worker to stop; the read in progress gives up.
    void quit();

    // Worker's side: the waiting read, taken off the queue; none when there is none. Sets
    // `quitting` when the worker should stop.
    std::optional<Request> take(bool& quitting);

private:
    void setWake(bool raised);

    std::mutex m_mutex;
    int m_wake = -1;
    std::optional<Request> m_next; // guarded by m_mutex
    bool m_quit = false;           // guarded by m_mutex
    std::atomic<bool> m_abandon{false};
};

} // namespace plimbo
