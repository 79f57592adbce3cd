#include "X11UnfinishedTransfers.h"

#include <algorithm>

namespace plimbo {

X11UnfinishedTransfers::X11UnfinishedTransfers(xcb_connection_t* connection,
                                               const X11SelectionAtoms& atoms)
    : m_connection(connection)
    , m_atoms(atoms) {}

void X11UnfinishedTransfers::awaitAnswer(xcb_window_t window) {
    m_unfinished.push_back({window, Stage::answer, Clock::now()});
}

void X11UnfinishedTransfers::drain(xcb_window_t window) {
    m_unfinished.push_back({window, Stage::chunks, Clock::now()});
    // Deleting the chunk asks for the next one; when there is none yet, it deletes nothing.
    dropProperty(window);
}

void X11UnfinishedTransfers::handle(const xcb_generic_event_t* event) {
    const uint8_t type = event->response_type & 0x7f;
    xcb_window_t window = XCB_NONE;
    if (type == XCB_SELECTION_NOTIFY) {
        window = reinterpret_cast<const xcb_selection_notify_event_t*>(event)->requestor;
    } else if (type == XCB_PROPERTY_NOTIFY) {
        window = reinterpret_cast<const xcb_property_notify_event_t*>(event)->window;
    } else {
        return;
    }
    const auto unfinished = std::find_if(m_unfinished.begin(), m_unfinished.end(),
                                         [&](const Unfinished& u) { return u.window == window; });
    if (unfinished == m_unfinished.end()) {
        return;
    }
    if (type == XCB_SELECTION_NOTIFY && unfinished->stage == Stage::answer) {
        onAnswer(unfinished, *reinterpret_cast<const xcb_selection_notify_event_t*>(event));
    } else if (type == XCB_PROPERTY_NOTIFY && unfinished->stage == Stage::chunks) {
        const auto* notify = reinterpret_cast<const xcb_property_notify_event_t*>(event);
        if (notify->atom == m_atoms.property && notify->state == XCB_PROPERTY_NEW_VALUE) {
            onChunk(unfinished);
        }
    }
}

void X11UnfinishedTransfers::onAnswer(std::vector<Unfinished>::iterator unfinished,
                                      const xcb_selection_notify_event_t& notify) {
    if (notify.property == XCB_NONE) {
        finish(unfinished);
        return;
    }
    const auto size = x11PropertySize(m_connection, unfinished->window, m_atoms.property);
    dropProperty(unfinished->window);
    if (size && size->first == m_atoms.incr) {
        // Deleting the announcement has started the chunks.
        unfinished->stage = Stage::chunks;
        unfinished->lastHeard = Clock::now();
        return;
    }
    finish(unfinished);
}

void X11UnfinishedTransfers::onChunk(std::vector<Unfinished>::iterator unfinished) {
    const auto size = x11PropertySize(m_connection, unfinished->window, m_atoms.property);
    if (!size) {
        finish(unfinished);
        return;
    }
    if (size->first == XCB_NONE) {
        return; // the notice of a chunk already dropped
    }
    dropProperty(unfinished->window);
    if (size->second == 0) {
        finish(unfinished); // the owner's last word
        return;
    }
    unfinished->lastHeard = Clock::now();
}

std::optional<X11UnfinishedTransfers::Clock::time_point>
X11UnfinishedTransfers::expire(Clock::time_point now) {
    std::optional<Clock::time_point> next;
    for (auto it = m_unfinished.begin(); it != m_unfinished.end();) {
        const Clock::time_point giveUp = it->lastHeard + patience;
        if (giveUp <= now) {
            xcb_destroy_window(m_connection, it->window);
            it = m_unfinished.erase(it);
            continue;
        }
        next = next ? std::min(*next, giveUp) : giveUp;
        ++it;
    }
    xcb_flush(m_connection);
    return next;
}

void X11UnfinishedTransfers::dropProperty(xcb_window_t window) {
    xcb_delete_property(m_connection, window, m_atoms.property);
    xcb_flush(m_connection);
}

void X11UnfinishedTransfers::finish(std::vector<Unfinished>::iterator unfinished) {
    xcb_destroy_window(m_connection, unfinished->window);
    xcb_flush(m_connection);
    m_unfinished.erase(unfinished);
}

} // namespace plimbo
