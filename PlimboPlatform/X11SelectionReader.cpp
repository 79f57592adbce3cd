#include "X11SelectionReader.h"

#include <QByteArray>
#include <QList>
#include <QLoggingCategory>

#include <xcb/xcb.h>

#include <poll.h>

#include <algorithm>
#include <cstdlib>

namespace plimbo {

namespace {

Q_LOGGING_CATEGORY(selectionLog, "plimbo.platform")

using Clock = std::chrono::steady_clock;

template <typename T> struct FreeDeleter {
    void operator()(T* pointer) const { std::free(pointer); }
};
template <typename T> using XcbReply = std::unique_ptr<T, FreeDeleter<T>>;

// Small answers (TARGETS, the password manager's hint) never need more than this.
constexpr qsizetype smallTransferLimit = 64 * 1024;
// How often a wait looks whether it should give up.
constexpr int abandonCheckMs = 50;

struct Atoms {
    xcb_atom_t clipboard = XCB_ATOM_NONE;
    xcb_atom_t targets = XCB_ATOM_NONE;
    xcb_atom_t incr = XCB_ATOM_NONE;
    xcb_atom_t utf8String = XCB_ATOM_NONE;
    xcb_atom_t textPlainUtf8 = XCB_ATOM_NONE;
    xcb_atom_t textPlain = XCB_ATOM_NONE;
    xcb_atom_t passwordManagerHint = XCB_ATOM_NONE;
    xcb_atom_t property = XCB_ATOM_NONE;
};

xcb_atom_t intern(xcb_connection_t* connection, const char* name) {
    const XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(qstrlen(name)), name), nullptr));
    return reply ? reply->atom : XCB_ATOM_NONE;
}

// One property transfer's outcome.
struct Transfer {
    enum class Status { ok, refused, tooLarge, failed };
    Status status = Status::failed;
    QByteArray data;
};

// One read of the selection, through a requestor window of its own that is destroyed at the
// end, so an owner still busy with an abandoned transfer never writes into a later one.
class SelectionRead {
public:
    SelectionRead(xcb_connection_t* connection, xcb_window_t root, const Atoms& atoms,
                  const std::atomic<bool>& abandon)
        : m_connection(connection)
        , m_atoms(atoms)
        , m_abandon(abandon) {
        m_window = xcb_generate_id(connection);
        const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(connection, XCB_COPY_FROM_PARENT, m_window, root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                          &events);
        xcb_flush(connection);
    }
    ~SelectionRead() {
        xcb_destroy_window(m_connection, m_window);
        xcb_flush(m_connection);
    }

    PasteboardText run(qsizetype maximumBytes) {
        const XcbReply<xcb_get_selection_owner_reply_t> owner(xcb_get_selection_owner_reply(
            m_connection, xcb_get_selection_owner(m_connection, m_atoms.clipboard), nullptr));
        if (!owner || owner->owner == XCB_NONE) {
            return {PasteboardText::Status::noText, {}};
        }
        xcb_atom_t target = m_atoms.utf8String;
        const Transfer targets = convert(m_atoms.targets, smallTransferLimit);
        if (targets.status == Transfer::Status::failed) {
            return {PasteboardText::Status::failed, {}};
        }
        if (targets.status == Transfer::Status::ok) {
            QList<xcb_atom_t> offered;
            for (qsizetype i = 0; i + qsizetype(sizeof(xcb_atom_t)) <= targets.data.size();
                 i += sizeof(xcb_atom_t)) {
                offered << *reinterpret_cast<const xcb_atom_t*>(targets.data.constData() + i);
            }
            if (offered.contains(m_atoms.passwordManagerHint)) {
                const Transfer hint = convert(m_atoms.passwordManagerHint, smallTransferLimit);
                if (hint.status == Transfer::Status::ok && hint.data.trimmed() == "secret") {
                    return {PasteboardText::Status::concealed, {}};
                }
            }
            const auto preferred = {m_atoms.utf8String, m_atoms.textPlainUtf8, m_atoms.textPlain,
                                    xcb_atom_t(XCB_ATOM_STRING)};
            const auto found = std::find_if(preferred.begin(), preferred.end(),
                                            [&](xcb_atom_t t) { return offered.contains(t); });
            if (found == preferred.end()) {
                return {PasteboardText::Status::noText, {}};
            }
            target = *found;
        }
        // An owner without TARGETS is asked for UTF-8 text directly.
        Transfer text = convert(target, maximumBytes);
        switch (text.status) {
        case Transfer::Status::refused:
            return {PasteboardText::Status::noText, {}};
        case Transfer::Status::tooLarge:
            return {PasteboardText::Status::tooLarge, {}};
        case Transfer::Status::failed:
            return {PasteboardText::Status::failed, {}};
        case Transfer::Status::ok:
            break;
        }
        // Some owners end the text with a NUL, as C strings do.
        if (text.data.endsWith('\0')) {
            text.data.chop(1);
        }
        return {PasteboardText::Status::text, target == XCB_ATOM_STRING
                                                  ? QString::fromLatin1(text.data)
                                                  : QString::fromUtf8(text.data)};
    }

private:
    Transfer convert(xcb_atom_t target, qsizetype limit) {
        xcb_delete_property(m_connection, m_window, m_atoms.property);
        xcb_convert_selection(m_connection, m_window, m_atoms.clipboard, target, m_atoms.property,
                              XCB_CURRENT_TIME);
        xcb_flush(m_connection);
        const XcbReply<xcb_generic_event_t> event = waitFor([&](xcb_generic_event_t* e) {
            if ((e->response_type & 0x7f) != XCB_SELECTION_NOTIFY) {
                return false;
            }
            const auto* notify = reinterpret_cast<xcb_selection_notify_event_t*>(e);
            return notify->requestor == m_window && notify->selection == m_atoms.clipboard &&
                   notify->target == target;
        });
        if (!event) {
            return {Transfer::Status::failed, {}};
        }
        if (reinterpret_cast<xcb_selection_notify_event_t*>(event.get())->property == XCB_NONE) {
            return {Transfer::Status::refused, {}};
        }
        // Only the size first: the text stays in the server until we know it fits.
        const auto size = propertySize();
        if (!size) {
            return {Transfer::Status::failed, {}};
        }
        if (size->first == m_atoms.incr) {
            return incremental(limit);
        }
        if (size->second > limit) {
            xcb_delete_property(m_connection, m_window, m_atoms.property);
            return {Transfer::Status::tooLarge, {}};
        }
        return takeProperty(size->second);
    }

    // The owner sends the text in chunks, each when we have deleted the one before.
    Transfer incremental(qsizetype limit) {
        const Transfer announced = takeProperty(4);
        if (announced.status != Transfer::Status::ok) {
            return announced;
        }
        if (announced.data.size() == 4 &&
            *reinterpret_cast<const quint32*>(announced.data.constData()) > quint64(limit)) {
            return {Transfer::Status::tooLarge, {}}; // its lower bound is already too much
        }
        QByteArray data;
        for (;;) {
            const XcbReply<xcb_generic_event_t> event = waitFor([&](xcb_generic_event_t* e) {
                if ((e->response_type & 0x7f) != XCB_PROPERTY_NOTIFY) {
                    return false;
                }
                const auto* notify = reinterpret_cast<xcb_property_notify_event_t*>(e);
                return notify->window == m_window && notify->atom == m_atoms.property &&
                       notify->state == XCB_PROPERTY_NEW_VALUE;
            });
            if (!event) {
                return {Transfer::Status::failed, {}};
            }
            const auto size = propertySize();
            if (!size) {
                return {Transfer::Status::failed, {}};
            }
            if (size->second == 0) {
                xcb_delete_property(m_connection, m_window, m_atoms.property);
                xcb_flush(m_connection);
                return {Transfer::Status::ok, data};
            }
            if (data.size() + size->second > limit) {
                // The rest is never asked for; the owner's transfer ends with our window.
                return {Transfer::Status::tooLarge, {}};
            }
            const Transfer chunk = takeProperty(size->second);
            if (chunk.status != Transfer::Status::ok) {
                return chunk;
            }
            data += chunk.data;
        }
    }

    // The property's type and size in bytes, without its value.
    std::optional<std::pair<xcb_atom_t, qsizetype>> propertySize() {
        const XcbReply<xcb_get_property_reply_t> reply(
            xcb_get_property_reply(m_connection,
                                   xcb_get_property(m_connection, 0, m_window, m_atoms.property,
                                                    XCB_GET_PROPERTY_TYPE_ANY, 0, 0),
                                   nullptr));
        if (!reply) {
            return std::nullopt;
        }
        return std::pair{reply->type, qsizetype(reply->bytes_after)};
    }

    // Reads and deletes the property, `bytes` of it at most.
    Transfer takeProperty(qsizetype bytes) {
        const XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
            m_connection,
            xcb_get_property(m_connection, 1, m_window, m_atoms.property, XCB_GET_PROPERTY_TYPE_ANY,
                             0, uint32_t((bytes + 3) / 4)),
            nullptr));
        xcb_flush(m_connection);
        if (!reply) {
            return {Transfer::Status::failed, {}};
        }
        const int length = xcb_get_property_value_length(reply.get());
        return {Transfer::Status::ok,
                QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())), length)};
    }

    // The first event `matches` accepts (others are dropped), or none when the owner took longer
    // than a step may, the connection broke, or the read is abandoned.
    template <typename Match> XcbReply<xcb_generic_event_t> waitFor(Match matches) {
        const Clock::time_point deadline = Clock::now() + X11SelectionReader::stepTimeout;
        for (;;) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
                XcbReply<xcb_generic_event_t> owned(event);
                if (matches(event)) {
                    return owned;
                }
            }
            if (xcb_connection_has_error(m_connection) != 0 || m_abandon) {
                return nullptr;
            }
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) {
                return nullptr;
            }
            pollfd descriptor{xcb_get_file_descriptor(m_connection), POLLIN, 0};
            ::poll(&descriptor, 1, int(std::min<qint64>(left.count(), abandonCheckMs)));
        }
    }

    xcb_connection_t* m_connection;
    const Atoms& m_atoms;
    const std::atomic<bool>& m_abandon;
    xcb_window_t m_window = XCB_NONE;
};

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
    return std::unique_ptr<X11SelectionReader>(new X11SelectionReader(connection, screen));
}

X11SelectionReader::X11SelectionReader(xcb_connection_t* connection, int screen)
    : m_connection(connection)
    , m_screen(screen) {
    m_thread = std::thread([this] { run(); });
}

X11SelectionReader::~X11SelectionReader() {
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
        m_abandon = true;
    }
    m_wake.notify_all();
    m_thread.join();
    xcb_disconnect(m_connection);
    // A request never taken up is cancelled as its promise goes.
}

QFuture<PasteboardText> X11SelectionReader::read(qsizetype maximumBytes) {
    QPromise<PasteboardText> promise;
    promise.start();
    QFuture<PasteboardText> future = promise.future();
    {
        std::lock_guard lock(m_mutex);
        if (m_next) {
            // Superseded before the worker took it up.
            m_next->promise.addResult(failedRead());
            m_next->promise.finish();
        }
        m_next = Request{std::move(promise), maximumBytes};
        m_abandon = true;
    }
    m_wake.notify_all();
    return future;
}

void X11SelectionReader::run() {
    Atoms atoms;
    atoms.clipboard = intern(m_connection, "CLIPBOARD");
    atoms.targets = intern(m_connection, "TARGETS");
    atoms.incr = intern(m_connection, "INCR");
    atoms.utf8String = intern(m_connection, "UTF8_STRING");
    atoms.textPlainUtf8 = intern(m_connection, "text/plain;charset=utf-8");
    atoms.textPlain = intern(m_connection, "text/plain");
    atoms.passwordManagerHint = intern(m_connection, "x-kde-passwordManagerHint");
    atoms.property = intern(m_connection, "PLIMBO_SELECTION");
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
    for (int i = 0; i < m_screen && screens.rem > 0; ++i) {
        xcb_screen_next(&screens);
    }
    const xcb_window_t root = screens.data ? screens.data->root : XCB_NONE;

    for (;;) {
        Request request;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_quit || m_next.has_value(); });
            if (m_quit) {
                return;
            }
            request = std::move(*m_next);
            m_next.reset();
            m_abandon = false;
        }
        PasteboardText result = failedRead();
        if (root != XCB_NONE && xcb_connection_has_error(m_connection) == 0) {
            SelectionRead read(m_connection, root, atoms, m_abandon);
            result = read.run(request.maximumBytes);
        } else {
            qCWarning(selectionLog) << "The clipboard reader's X connection is broken";
        }
        request.promise.addResult(result);
        request.promise.finish();
    }
}

} // namespace plimbo
