#pragma once

#include "X11SelectionProtocol.h"

#include <chrono>
#include <optional>
#include <vector>

namespace plimbo {

// Requestor windows of clipboard reads that stopped before their owner was done with them. An
// owner writing to a window that is gone gets an X error, and Xlib programs such as xclip die of
// it, taking the copy with them; an owner in the middle of an incremental transfer serves nobody
// else until it ends. So each window here waits for its owner's answer, takes and drops the rest
// of an incremental transfer, and only then is destroyed, or after `patience` without a word.
// Used on the reader's worker thread only.
class X11UnfinishedTransfers {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::seconds patience{60};

    X11UnfinishedTransfers(xcb_connection_t* connection, const X11SelectionAtoms& atoms);

    // `window` has asked for a conversion the owner has not answered yet.
    void awaitAnswer(xcb_window_t window);
    // `window` is receiving an incremental transfer; the chunk it holds, if any, is dropped.
    void drain(xcb_window_t window);

    // Acts on `event` when it is for one of the windows here; ignores it otherwise.
    void handle(const xcb_generic_event_t* event);
    // Destroys the windows whose owner has been silent for too long; returns when the next one
    // will have been, none when no window is left.
    std::optional<Clock::time_point> expire(Clock::time_point now);

private:
    enum class Stage { answer, chunks };
    struct Unfinished {
        xcb_window_t window;
        Stage stage;
        Clock::time_point lastHeard;
    };

    void onAnswer(std::vector<Unfinished>::iterator unfinished,
                  const xcb_selection_notify_event_t& notify);
    void onChunk(std::vector<Unfinished>::iterator unfinished);
    void dropProperty(xcb_window_t window);
    void finish(std::vector<Unfinished>::iterator unfinished);

    xcb_connection_t* m_connection;
    const X11SelectionAtoms& m_atoms;
    std::vector<Unfinished> m_unfinished;
};

} // namespace plimbo
