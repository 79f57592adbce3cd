#pragma once

#include "ClipboardReadQueue.h"
#include "Pasteboard.h"

#include <QFuture>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

struct wl_display;
struct wl_registry;
struct wl_seat;
struct zwlr_data_control_manager_v1;
struct zwlr_data_control_device_v1;
struct zwlr_data_control_offer_v1;

namespace plimbo {

// Reads the Wayland clipboard through the compositor's clipboard-manager protocol
// (zwlr_data_control_manager_v1, offered by kwin and wlroots compositors), which tells of every
// copy whichever window has the focus; XWayland hears of a native Wayland program's copy only
// while an X window has it. A worker thread with a Wayland connection of its own does
// everything, from connecting on, so the GUI thread never waits for the compositor or an owner.
// It counts the clipboard's changes, Plimbo's own writes excepted, and reads text as the X11
// reader does: the password manager's hint first, each step at most `stepTimeout`, a newer read
// abandoning an older one. Created and called on one thread (the GUI thread).
class WaylandClipboardReader {
public:
    enum class State { connecting, ready, unavailable };
    static constexpr std::chrono::milliseconds stepTimeout{2000};
    // A compositor busy starting a session may take long to answer the first time; the X11
    // reader serves meanwhile.
    static constexpr std::chrono::milliseconds connectTimeout{30000};

    // Connects to the compositor named by WAYLAND_DISPLAY in the background; none when no
    // thread could be started. A selection that offers `ownContentType` is the caller's own
    // write and does not count as a change.
    static std::unique_ptr<WaylandClipboardReader> start(const QString& ownContentType);
    ~WaylandClipboardReader();

    WaylandClipboardReader(const WaylandClipboardReader&) = delete;
    WaylandClipboardReader& operator=(const WaylandClipboardReader&) = delete;

    // `unavailable` for good when there is no compositor, it offers no such protocol, or the
    // connection broke.
    State state() const { return m_state; }
    // Moves with every change of the clipboard after the reader became ready, except those
    // that put the caller's own content there.
    qint64 changeCount() const { return m_changeCount; }
    // The future finishes on the worker thread; a read while not ready is `failed`.
    QFuture<PasteboardText> read(qsizetype maximumBytes);

private:
    struct Offer {
        zwlr_data_control_offer_v1* offer = nullptr;
        QStringList types;
    };
    enum class Transfer { ok, tooLarge, failed };

    WaylandClipboardReader(std::unique_ptr<ClipboardReadQueue> queue, QString ownContentType);
    void run();
    bool connectToCompositor();
    void serve();
    void disconnect();
    // Waits up to `timeoutMs` (-1: without limit) for the compositor or the queue, then
    // handles what the compositor sent; false when the connection broke.
    bool dispatch(int timeoutMs);
    bool roundtrip(std::chrono::milliseconds timeout);
    PasteboardText readCurrent(qsizetype maximumBytes);
    Transfer receive(const QString& type, qsizetype limit, QByteArray& data);

    // Protocol events, on the worker thread.
    void onGlobal(wl_registry* registry, uint32_t name, const char* interface, uint32_t version);
    void onDataOffer(zwlr_data_control_offer_v1* offer);
    void onOfferType(zwlr_data_control_offer_v1* offer, const char* type);
    void onSelection(zwlr_data_control_offer_v1* offer);
    void onDeviceFinished();

    std::unique_ptr<ClipboardReadQueue> m_queue;
    const QString m_ownContentType;
    std::atomic<State> m_state{State::connecting};
    std::atomic<qint64> m_changeCount{0};
    std::thread m_thread;

    // The worker's own.
    wl_display* m_display = nullptr;
    wl_registry* m_registry = nullptr;
    wl_seat* m_seat = nullptr;
    zwlr_data_control_manager_v1* m_manager = nullptr;
    zwlr_data_control_device_v1* m_device = nullptr;
    // Offers announced and not yet made the selection, and the selection's.
    std::vector<Offer> m_pending;
    std::unique_ptr<Offer> m_current;
    bool m_counting = false;
};

} // namespace plimbo
