#include "X11SelectionReader.h"

#include "Logging.h"
#include "X11SelectionRead.h"
#include "X11UnfinishedTransfers.h"

#include <xcb/xcb.h>

#include <poll.h>

namespace plimbo {

namespace {

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
    auto queue = std::make_unique<ClipboardReadQueue>();
    if (!queue->isValid()) {
        xcb_disconnect(connection);
        return nullptr;
    }
    return std::unique_ptr<X11SelectionReader>(
        new X11SelectionReader(connection, screen, std::move(queue)));
}

X11SelectionReader::X11SelectionReader(xcb_connection_t* connection, int screen,
                                       std::unique_ptr<ClipboardReadQueue> queue)
    : m_connection(connection)
    , m_screen(screen)
    , m_queue(std::move(queue)) {
    m_thread = std::thread([this] { run(); });
}

X11SelectionReader::~X11SelectionReader() {
    m_queue->quit();
    m_thread.join();
    // Windows still waiting for an owner go with the connection.
    xcb_disconnect(m_connection);
}

QFuture<PasteboardText> X11SelectionReader::read(qsizetype maximumBytes) {
    return m_queue->push(maximumBytes);
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
        bool quitting = false;
        std::optional<ClipboardReadQueue::Request> request = m_queue->take(quitting);
        if (quitting) {
            return;
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
                                    {m_queue->wakeDescriptor(), POLLIN, 0}};
            if (xcb_connection_has_error(m_connection) != 0) {
                descriptors[0].fd = -1; // a broken connection would wake us forever
            }
            ::poll(descriptors, 2, timeoutMs);
            continue;
        }
        PasteboardText result = failedRead();
        if (root != XCB_NONE && xcb_connection_has_error(m_connection) == 0) {
            X11SelectionRead read(m_connection, root, atoms, unfinished, m_queue->abandon(),
                                  m_queue->wakeDescriptor());
            result = read.run(request->maximumBytes);
        } else {
            qCWarning(platformLog) << "The clipboard reader's X connection is broken";
        }
        request->finish(result);
    }
}

} // namespace plimbo
