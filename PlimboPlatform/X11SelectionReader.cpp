#include "X11SelectionReader.h"

#include "X11SelectionRead.h"
#include "X11UnfinishedTransfers.h"

#include <QLoggingCategory>

#include <xcb/xcb.h>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace plimbo {

namespace {

Q_LOGGING_CATEGORY(selectionLog, "plimbo.platform")

PasteboardText failedRead() {
    return {PasteboardText::Status::failed, {}};
}

} // namespace

std::unique_ptr<X11SelectionReader> X11SelectionReader::connect() {
    int screen = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screen);
    if (xcb_connection_has_error(connection) != 0) {
        xcb_disconnect(connection);
        return nullptr;
    }
    const int wake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake < 0) {
        xcb_disconnect(connection);
        return nullptr;
    }
    return std::unique_ptr<X11SelectionReader>(new X11SelectionReader(connection, screen, wake));
}

X11SelectionReader::X11SelectionReader(xcb_connection_t* connection, int screen, int wake)
    : m_connection(connection)
    , m_screen(screen)
    , m_wake(wake) {
    m_thread = std::thread([this] { run(); });
}

X11SelectionReader::~X11SelectionReader() {
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
        m_abandon = true;
        setWake(true);
    }
    m_thread.join();
    // Windows still waiting for an owner go with the connection.
    xcb_disconnect(m_connection);
    ::close(m_wake);
    // A request never taken up is cancelled as its promise goes.
}

QFuture<PasteboardText> X11SelectionReader::read(qsizetype maximumBytes) {
    QPromise<PasteboardText> promise;
    promise.start();
    QFuture<PasteboardText> future = promise.future();
    std::lock_guard lock(m_mutex);
    if (m_next) {
        // Superseded before the worker took it up.
        m_next->promise.addResult(failedRead());
        m_next->promise.finish();
    }
    m_next = Request{std::move(promise), maximumBytes};
    m_abandon = true;
    setWake(true);
    return future;
}

void X11SelectionReader::setWake(bool raised) {
    if (raised) {
        const eventfd_t one = 1;
        (void)::write(m_wake, &one, sizeof one);
    } else {
        eventfd_t count = 0;
        (void)::read(m_wake, &count, sizeof count);
    }
}

void X11SelectionReader::run() {
    const X11SelectionAtoms atoms = X11SelectionAtoms::intern(m_connection);
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
    for (int i = 0; i < m_screen && screens.rem > 0; ++i) {
        xcb_screen_next(&screens);
    }
    const xcb_window_t root = screens.data ? screens.data->root : XCB_NONE;
    X11UnfinishedTransfers unfinished(m_connection, atoms);

    for (;;) {
        std::optional<Request> request;
        {
            std::lock_guard lock(m_mutex);
            if (m_quit) {
                return;
            }
            if (m_next) {
                request = std::move(m_next);
                m_next.reset();
                m_abandon = false;
                setWake(false);
            }
        }
        if (!request) {
            // Idle: only owners finishing with earlier reads may need us.
            while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
                unfinished.handle(event);
                std::free(event);
            }
            const auto now = X11UnfinishedTransfers::Clock::now();
            const auto next = unfinished.expire(now);
            const int timeoutMs =
                next ? int(std::chrono::ceil<std::chrono::milliseconds>(*next - now).count()) : -1;
            pollfd descriptors[] = {{xcb_get_file_descriptor(m_connection), POLLIN, 0},
                                    {m_wake, POLLIN, 0}};
            if (xcb_connection_has_error(m_connection) != 0) {
                descriptors[0].fd = -1; // a broken connection would wake us forever
            }
            ::poll(descriptors, 2, timeoutMs);
            continue;
        }
        PasteboardText result = failedRead();
        if (root != XCB_NONE && xcb_connection_has_error(m_connection) == 0) {
            X11SelectionRead read(m_connection, root, atoms, unfinished, m_abandon, m_wake);
            result = read.run(request->maximumBytes);
        } else {
            qCWarning(selectionLog) << "The clipboard reader's X connection is broken";
        }
        request->promise.addResult(result);
        request->promise.finish();
    }
}

} // namespace plimbo
