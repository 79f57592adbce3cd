#include "WaylandClipboardReader.h"

#include "BoundedPipeRead.h"
#include "Logging.h"
#include "WaylandClipboardTypes.h"

#include "wlr-data-control-unstable-v1-client-protocol.h"
#include <wayland-client.h>

#include <algorithm>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace plimbo {

namespace {

using Clock = std::chrono::steady_clock;

// Small answers (the password manager's hint) never need more than this.
constexpr qsizetype smallTransferLimit = 64 * 1024;

PasteboardText failedRead() {
    return {PasteboardText::Status::failed, {}};
}

template <typename T> void release(T*& object, void (*destroy)(T*)) {
    if (object) {
        destroy(object);
        object = nullptr;
    }
}

WaylandClipboardReader* self(void* data) {
    return static_cast<WaylandClipboardReader*>(data);
}

} // namespace

std::unique_ptr<WaylandClipboardReader>
WaylandClipboardReader::start(const QString& ownContentType) {
    auto queue = std::make_unique<ClipboardReadQueue>();
    if (!queue->isValid()) {
        return nullptr;
    }
    return std::unique_ptr<WaylandClipboardReader>(
        new WaylandClipboardReader(std::move(queue), ownContentType));
}

WaylandClipboardReader::WaylandClipboardReader(std::unique_ptr<ClipboardReadQueue> queue,
                                               QString ownContentType)
    : m_queue(std::move(queue))
    , m_ownContentType(std::move(ownContentType)) {
    m_thread = std::thread([this] { run(); });
}

WaylandClipboardReader::~WaylandClipboardReader() {
    m_queue->quit();
    m_thread.join();
}

QFuture<PasteboardText> WaylandClipboardReader::read(qsizetype maximumBytes) {
    if (m_state != State::ready) {
        return QtFuture::makeReadyFuture(failedRead());
    }
    return m_queue->push(maximumBytes);
}

void WaylandClipboardReader::run() {
    if (connectToCompositor()) {
        m_state = State::ready;
        serve();
    }
    m_state = State::unavailable;
    disconnect();
    // Reads asked for before the state changed are answered until we are told to quit.
    for (;;) {
        bool quitting = false;
        std::optional<ClipboardReadQueue::Request> request = m_queue->take(quitting);
        if (quitting) {
            return;
        }
        if (request) {
            request->finish(failedRead());
            continue;
        }
        pollfd wake{m_queue->wakeDescriptor(), POLLIN, 0};
        ::poll(&wake, 1, -1);
    }
}

bool WaylandClipboardReader::connectToCompositor() {
    m_display = wl_display_connect(nullptr);
    if (!m_display) {
        return false;
    }
    static const wl_registry_listener registryListener{
        [](void* data, wl_registry* registry, uint32_t name, const char* interface,
           uint32_t version) { self(data)->onGlobal(registry, name, interface, version); },
        [](void*, wl_registry*, uint32_t) {},
    };
    m_registry = wl_display_get_registry(m_display);
    wl_registry_add_listener(m_registry, &registryListener, this);
    if (!roundtrip(connectTimeout)) {
        qCWarning(platformLog) << "The compositor did not answer the clipboard reader";
        return false;
    }
    if (!m_manager || !m_seat) {
        qCInfo(platformLog)
            << "The compositor offers no clipboard-manager protocol; the clipboard is read "
               "through X11";
        return false;
    }
    static const zwlr_data_control_device_v1_listener deviceListener{
        [](void* data, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1* offer) {
            self(data)->onDataOffer(offer);
        },
        [](void* data, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1* offer) {
            self(data)->onSelection(offer);
        },
        [](void* data, zwlr_data_control_device_v1*) { self(data)->onDeviceFinished(); },
        // Version 1 is bound: no primary selection is ever sent.
        [](void*, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1*) {},
    };
    m_device = zwlr_data_control_manager_v1_get_data_device(m_manager, m_seat);
    zwlr_data_control_device_v1_add_listener(m_device, &deviceListener, this);
    // The selection already there arrives now and is not a change.
    if (!roundtrip(connectTimeout) || !m_device) {
        return false;
    }
    m_counting = true;
    return true;
}

void WaylandClipboardReader::serve() {
    for (;;) {
        bool quitting = false;
        std::optional<ClipboardReadQueue::Request> request = m_queue->take(quitting);
        if (quitting) {
            return;
        }
        if (request) {
            request->finish(readCurrent(request->maximumBytes));
            continue;
        }
        if (!dispatch(-1) || !m_device) {
            qCWarning(platformLog) << "The clipboard reader's Wayland connection broke";
            return;
        }
    }
}

void WaylandClipboardReader::disconnect() {
    for (const Offer& offer : m_pending) {
        zwlr_data_control_offer_v1_destroy(offer.offer);
    }
    m_pending.clear();
    if (m_current && m_current->offer) {
        zwlr_data_control_offer_v1_destroy(m_current->offer);
    }
    m_current.reset();
    release(m_device, zwlr_data_control_device_v1_destroy);
    release(m_manager, zwlr_data_control_manager_v1_destroy);
    release(m_seat, wl_seat_destroy);
    release(m_registry, wl_registry_destroy);
    release(m_display, wl_display_disconnect);
}

bool WaylandClipboardReader::dispatch(int timeoutMs) {
    while (wl_display_prepare_read(m_display) != 0) {
        if (wl_display_dispatch_pending(m_display) < 0) {
            return false;
        }
    }
    if (wl_display_flush(m_display) < 0 && errno != EAGAIN) {
        wl_display_cancel_read(m_display);
        return false;
    }
    pollfd descriptors[] = {{wl_display_get_fd(m_display), POLLIN, 0},
                            {m_queue->wakeDescriptor(), POLLIN, 0}};
    ::poll(descriptors, 2, timeoutMs);
    if (descriptors[0].revents != 0) {
        if (wl_display_read_events(m_display) < 0) {
            return false;
        }
    } else {
        wl_display_cancel_read(m_display);
    }
    return wl_display_dispatch_pending(m_display) >= 0;
}

// Like wl_display_roundtrip, but bounded, and given up when we are told to quit.
bool WaylandClipboardReader::roundtrip(std::chrono::milliseconds timeout) {
    bool done = false;
    static const wl_callback_listener listener{
        [](void* data, wl_callback*, uint32_t) { *static_cast<bool*>(data) = true; },
    };
    wl_callback* callback = wl_display_sync(m_display);
    wl_callback_add_listener(callback, &listener, &done);
    const Clock::time_point deadline = Clock::now() + timeout;
    bool alive = true;
    while (!done && alive && !m_queue->abandon()) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        alive = left.count() > 0 && dispatch(int(left.count()) + 1);
    }
    wl_callback_destroy(callback);
    return done;
}

void WaylandClipboardReader::onGlobal(wl_registry* registry, uint32_t name, const char* interface,
                                      uint32_t version) {
    if (std::strcmp(interface, zwlr_data_control_manager_v1_interface.name) == 0 && !m_manager) {
        m_manager = static_cast<zwlr_data_control_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_data_control_manager_v1_interface, 1));
    } else if (std::strcmp(interface, wl_seat_interface.name) == 0 && !m_seat) {
        m_seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    }
    (void)version;
}

void WaylandClipboardReader::onDataOffer(zwlr_data_control_offer_v1* offer) {
    static const zwlr_data_control_offer_v1_listener listener{
        [](void* data, zwlr_data_control_offer_v1* offer, const char* type) {
            self(data)->onOfferType(offer, type);
        },
    };
    zwlr_data_control_offer_v1_add_listener(offer, &listener, this);
    m_pending.push_back({offer, {}});
}

void WaylandClipboardReader::onOfferType(zwlr_data_control_offer_v1* offer, const char* type) {
    const auto pending = std::find_if(m_pending.begin(), m_pending.end(),
                                      [&](const Offer& o) { return o.offer == offer; });
    if (pending != m_pending.end()) {
        pending->types << QString::fromUtf8(type);
    }
}

void WaylandClipboardReader::onSelection(zwlr_data_control_offer_v1* offer) {
    if (m_current && m_current->offer) {
        zwlr_data_control_offer_v1_destroy(m_current->offer);
    }
    m_current.reset();
    // Offers never made the selection are dropped with the old one.
    for (const Offer& pending : m_pending) {
        if (pending.offer == offer) {
            m_current = std::make_unique<Offer>(pending);
        } else {
            zwlr_data_control_offer_v1_destroy(pending.offer);
        }
    }
    m_pending.clear();
    if (m_counting && !(m_current && m_current->types.contains(m_ownContentType))) {
        ++m_changeCount;
    }
}

void WaylandClipboardReader::onDeviceFinished() {
    zwlr_data_control_device_v1_destroy(m_device);
    m_device = nullptr;
}

PasteboardText WaylandClipboardReader::readCurrent(qsizetype maximumBytes) {
    if (!m_current) {
        return {PasteboardText::Status::noText, {}};
    }
    const QStringList types = m_current->types;
    if (WaylandClipboardTypes::offersPasswordHint(types)) {
        QByteArray hint;
        if (receive(QString::fromLatin1(WaylandClipboardTypes::passwordManagerHint),
                    smallTransferLimit, hint) == Transfer::ok &&
            WaylandClipboardTypes::hintSaysSecret(hint)) {
            return {PasteboardText::Status::concealed, {}};
        }
    }
    const std::optional<QString> type = WaylandClipboardTypes::textType(types);
    if (!type) {
        return {PasteboardText::Status::noText, {}};
    }
    QByteArray text;
    switch (receive(*type, maximumBytes, text)) {
    case Transfer::tooLarge:
        return {PasteboardText::Status::tooLarge, {}};
    case Transfer::failed:
        return failedRead();
    case Transfer::ok:
        break;
    }
    return {PasteboardText::Status::text, WaylandClipboardTypes::decode(std::move(text), *type)};
}

WaylandClipboardReader::Transfer
WaylandClipboardReader::receive(const QString& type, qsizetype limit, QByteArray& data) {
    if (!m_current || !m_current->offer) {
        return Transfer::failed;
    }
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return Transfer::failed;
    }
    zwlr_data_control_offer_v1_receive(m_current->offer, type.toUtf8().constData(), pipe[1]);
    wl_display_flush(m_display);
    // The owner has its own copy of the write end; ours would keep the pipe from ending.
    ::close(pipe[1]);
    BoundedPipeRead::Result result = BoundedPipeRead::run(
        pipe[0], limit, stepTimeout, m_queue->abandon(), m_queue->wakeDescriptor());
    switch (result.status) {
    case BoundedPipeRead::Status::ok:
        data = std::move(result.data);
        return Transfer::ok;
    case BoundedPipeRead::Status::tooLarge:
        return Transfer::tooLarge;
    case BoundedPipeRead::Status::failed:
        break;
    }
    return Transfer::failed;
}

} // namespace plimbo
