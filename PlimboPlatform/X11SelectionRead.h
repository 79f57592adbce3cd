#pragma once

#include "Pasteboard.h"
#include "X11SelectionProtocol.h"

#include <QByteArray>

#include <atomic>

namespace plimbo {

class X11UnfinishedTransfers;

// One read of the CLIPBOARD selection's text, through a requestor window of its own, so an owner
// still busy with an earlier read never writes into this one. Asks for TARGETS first (a password
// manager's hint needs no text), then for the text, and stops a transfer (INCR included) before
// it would exceed the limit. Each step waits at most the reader's `stepTimeout` for the owner and
// gives up as soon as `abandon` is set (`wake`, an eventfd, turns readable then). Events for
// other windows go to `unfinished`, and so does this window when the owner is not done with it.
class X11SelectionRead {
public:
    X11SelectionRead(xcb_connection_t* connection, xcb_window_t root,
                     const X11SelectionAtoms& atoms, X11UnfinishedTransfers& unfinished,
                     const std::atomic<bool>& abandon, int wake);
    ~X11SelectionRead();

    X11SelectionRead(const X11SelectionRead&) = delete;
    X11SelectionRead& operator=(const X11SelectionRead&) = delete;

    PasteboardText run(qsizetype maximumBytes);

private:
    struct Transfer {
        enum class Status { ok, refused, tooLarge, failed };
        Status status = Status::failed;
        QByteArray data;
    };
    // What the owner may still send to this window.
    enum class Owed { nothing, answer, chunks };

    Transfer convert(xcb_atom_t target, qsizetype limit);
    Transfer incremental(qsizetype limit);
    Transfer takeProperty(qsizetype bytes);
    template <typename Match> XcbReply<xcb_generic_event_t> waitFor(Match matches);

    xcb_connection_t* m_connection;
    const X11SelectionAtoms& m_atoms;
    X11UnfinishedTransfers& m_unfinished;
    const std::atomic<bool>& m_abandon;
    int m_wake;
    xcb_window_t m_window = XCB_NONE;
    Owed m_owed = Owed::nothing;
};

} // namespace plimbo
