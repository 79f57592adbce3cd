#include "ClipboardReadQueue.h"

#include <sys/eventfd.h>
#include <unistd.h>

namespace plimbo {

void ClipboardReadQueue::Request::finish(const PasteboardText& result) {
    promise.addResult(result);
    promise.finish();
}

ClipboardReadQueue::ClipboardReadQueue()
    : m_wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

ClipboardReadQueue::~ClipboardReadQueue() {
    if (m_wake >= 0) {
        ::close(m_wake);
    }
    // A request never taken up is cancelled as its promise goes.
}

QFuture<PasteboardText> ClipboardReadQueue::push(qsizetype maximumBytes) {
    QPromise<PasteboardText> promise;
    promise.start();
    QFuture<PasteboardText> future = promise.future();
    std::lock_guard lock(m_mutex);
    if (m_next) {
        // Superseded before the worker took it up.
        m_next->finish({PasteboardText::Status::failed, {}});
    }
    m_next = Request{std::move(promise), maximumBytes};
    m_abandon = true;
    setWake(true);
    return future;
}

void ClipboardReadQueue::quit() {
    std::lock_guard lock(m_mutex);
    m_quit = true;
    m_abandon = true;
    setWake(true);
}

std::optional<ClipboardReadQueue::Request> ClipboardReadQueue::take(bool& quitting) {
    std::lock_guard lock(m_mutex);
    quitting = m_quit;
    if (m_quit || !m_next) {
        return std::nullopt;
    }
    std::optional<Request> request = std::move(m_next);
    m_next.reset();
    m_abandon = false;
    setWake(false);
    return request;
}

void ClipboardReadQueue::setWake(bool raised) {
    if (raised) {
        const eventfd_t one = 1;
        (void)::write(m_wake, &one, sizeof one);
    } else {
        eventfd_t count = 0;
        (void)::read(m_wake, &count, sizeof count);
    }
}

} // namespace plimbo
