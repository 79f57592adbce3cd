#include "X11SelectionRead.h"

#include "X11SelectionReader.h"
#include "X11UnfinishedTransfers.h"

#include <QList>

#include <poll.h>

#include <algorithm>

namespace plimbo {

namespace {

using Clock = std::chrono::steady_clock;

// Small answers (TARGETS, the password manager's hint) never need more than this.
constexpr qsizetype smallTransferLimit = 64 * 1024;

} // namespace

X11SelectionRead::X11SelectionRead(xcb_connection_t* connection, xcb_window_t root,
                                   const X11SelectionAtoms& atoms,
                                   X11UnfinishedTransfers& unfinished,
                                   const std::atomic<bool>& abandon, int wake)
    : m_connection(connection)
    , m_atoms(atoms)
    , m_unfinished(unfinished)
    , m_abandon(abandon)
    , m_wake(wake) {
    m_window = xcb_generate_id(connection);
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, m_window, root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                      &events);
    xcb_flush(connection);
}

X11SelectionRead::~X11SelectionRead() {
    switch (m_owed) {
    case Owed::nothing:
        xcb_destroy_window(m_connection, m_window);
        xcb_flush(m_connection);
        break;
    case Owed::answer:
        m_unfinished.awaitAnswer(m_window);
        break;
    case Owed::chunks:
        m_unfinished.drain(m_window);
        break;
    }
}

PasteboardText X11SelectionRead::run(qsizetype maximumBytes) {
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
    return {PasteboardText::Status::text, target == XCB_ATOM_STRING ? QString::fromLatin1(text.data)
                                                                    : QString::fromUtf8(text.data)};
}

X11SelectionRead::Transfer X11SelectionRead::convert(xcb_atom_t target, qsizetype limit) {
    xcb_delete_property(m_connection, m_window, m_atoms.property);
    xcb_convert_selection(m_connection, m_window, m_atoms.clipboard, target, m_atoms.property,
                          XCB_CURRENT_TIME);
    xcb_flush(m_connection);
    m_owed = Owed::answer;
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
    m_owed = Owed::nothing;
    if (reinterpret_cast<xcb_selection_notify_event_t*>(event.get())->property == XCB_NONE) {
        return {Transfer::Status::refused, {}};
    }
    // Only the size first: the text stays in the server until we know it fits.
    const auto size = x11PropertySize(m_connection, m_window, m_atoms.property);
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

// The owner sends the text in chunks, each when we have deleted the one before. When we stop
// early, the window drains the rest after this read has given its answer.
X11SelectionRead::Transfer X11SelectionRead::incremental(qsizetype limit) {
    const Transfer announced = takeProperty(4);
    if (announced.status != Transfer::Status::ok) {
        return announced;
    }
    m_owed = Owed::chunks;
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
        const auto size = x11PropertySize(m_connection, m_window, m_atoms.property);
        if (!size) {
            return {Transfer::Status::failed, {}};
        }
        if (size->second == 0) {
            xcb_delete_property(m_connection, m_window, m_atoms.property);
            xcb_flush(m_connection);
            m_owed = Owed::nothing;
            return {Transfer::Status::ok, data};
        }
        if (data.size() + size->second > limit) {
            return {Transfer::Status::tooLarge, {}};
        }
        const Transfer chunk = takeProperty(size->second);
        if (chunk.status != Transfer::Status::ok) {
            return chunk;
        }
        data += chunk.data;
    }
}

// Reads and deletes the property, `bytes` of it at most.
X11SelectionRead::Transfer X11SelectionRead::takeProperty(qsizetype bytes) {
    const XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        m_connection,
        xcb_get_property(m_connection, 1, m_window, m_atoms.property, XCB_GET_PROPERTY_TYPE_ANY, 0,
                         uint32_t((bytes + 3) / 4)),
        nullptr));
    xcb_flush(m_connection);
    if (!reply) {
        return {Transfer::Status::failed, {}};
    }
    const int length = xcb_get_property_value_length(reply.get());
    return {Transfer::Status::ok,
            QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())), length)};
}

// The first event `matches` accepts, or none when the owner took longer than a step may, the
// connection broke, or the read is abandoned. Events for earlier reads' windows are handled on the
// way; any other is dropped.
template <typename Match> XcbReply<xcb_generic_event_t> X11SelectionRead::waitFor(Match matches) {
    const Clock::time_point deadline = Clock::now() + X11SelectionReader::stepTimeout;
    for (;;) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
            XcbReply<xcb_generic_event_t> owned(event);
            if (matches(event)) {
                return owned;
            }
            m_unfinished.handle(event);
        }
        if (xcb_connection_has_error(m_connection) != 0 || m_abandon) {
            return nullptr;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return nullptr;
        }
        pollfd descriptors[] = {{xcb_get_file_descriptor(m_connection), POLLIN, 0},
                                {m_wake, POLLIN, 0}};
        ::poll(descriptors, 2, int(left.count()) + 1);
    }
}

} // namespace plimbo
