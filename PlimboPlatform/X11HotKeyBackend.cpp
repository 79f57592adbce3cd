#include "X11HotKeyBackend.h"

#include "Logging.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMetaObject>
#include <QSet>

#include <xcb/xcb_keysyms.h>

#include <X11/keysym.h>

#include <array>
#include <cstdlib>
#include <memory>

// Xlib only for DefaultScreen/RootWindow (macros, no link needed). Its macros clash with
// Qt names, so it comes last.
#include <X11/Xlib.h>

namespace plimbo {

namespace {

// Grabs of one connection overlap silently and an ungrab drops the key for every user in the
// process, so this process keeps one owner per (root, key code, modifiers).
struct GrabKey {
    xcb_window_t root;
    xcb_keycode_t keycode;
    quint16 modifiers;
    bool operator==(const GrabKey&) const = default;
};

size_t qHash(const GrabKey& key, size_t seed = 0) {
    return ::qHash((quint64(key.root) << 24) ^ (quint64(key.keycode) << 16) ^ key.modifiers, seed);
}

QSet<GrabKey>& grabsInProcess() {
    static QSet<GrabKey> grabs;
    return grabs;
}

constexpr quint16 relevantModifierBits = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL |
                                         XCB_MOD_MASK_1 | XCB_MOD_MASK_2 | XCB_MOD_MASK_3 |
                                         XCB_MOD_MASK_4 | XCB_MOD_MASK_5;

xcb_keysym_t keysymForQtKey(Qt::Key key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        // X names letter keys by their unshifted (lower-case) symbol.
        return XK_a + (key - Qt::Key_A);
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        return XK_0 + (key - Qt::Key_0);
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) {
        return XK_F1 + (key - Qt::Key_F1);
    }
    switch (key) {
    case Qt::Key_Space:
        return XK_space;
    case Qt::Key_Return:
        return XK_Return;
    case Qt::Key_Escape:
        return XK_Escape;
    case Qt::Key_Tab:
        return XK_Tab;
    case Qt::Key_Backspace:
        return XK_BackSpace;
    case Qt::Key_Delete:
        return XK_Delete;
    case Qt::Key_Home:
        return XK_Home;
    case Qt::Key_End:
        return XK_End;
    case Qt::Key_Left:
        return XK_Left;
    case Qt::Key_Right:
        return XK_Right;
    case Qt::Key_Up:
        return XK_Up;
    case Qt::Key_Down:
        return XK_Down;
    default:
        return 0;
    }
}

std::optional<quint16> xModifiersFor(Qt::KeyboardModifiers modifiers) {
    if ((modifiers & ~HotKeyBackend::supportedModifiers) != Qt::NoModifier) {
        return std::nullopt;
    }
    quint16 x = 0;
    if (modifiers & Qt::MetaModifier) {
        x |= XCB_MOD_MASK_4;
    }
    if (modifiers & Qt::ShiftModifier) {
        x |= XCB_MOD_MASK_SHIFT;
    }
    if (modifiers & Qt::AltModifier) {
        x |= XCB_MOD_MASK_1;
    }
    if (modifiers & Qt::ControlModifier) {
        x |= XCB_MOD_MASK_CONTROL;
    }
    return x;
}

// X's BadAccess: another client holds the combination.
constexpr quint8 badAccessError = 10;

xcb_window_t rootWindow(xcb_connection_t* connection, Display* display) {
    if (display) {
        return static_cast<xcb_window_t>(RootWindow(display, DefaultScreen(display)));
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    return screens.rem > 0 ? screens.data->root : 0;
}

quint16 findNumLockMask(xcb_connection_t* connection, xcb_key_symbols_t* symbols) {
    std::unique_ptr<xcb_keycode_t, decltype(&std::free)> numLockCodes(
        xcb_key_symbols_get_keycode(symbols, XK_Num_Lock), &std::free);
    if (!numLockCodes) {
        return 0;
    }
    std::unique_ptr<xcb_get_modifier_mapping_reply_t, decltype(&std::free)> reply(
        xcb_get_modifier_mapping_reply(connection, xcb_get_modifier_mapping(connection), nullptr),
        &std::free);
    if (!reply) {
        return 0;
    }
    const xcb_keycode_t* map = xcb_get_modifier_mapping_keycodes(reply.get());
    const int perModifier = reply->keycodes_per_modifier;
    for (int modifier = 0; modifier < 8; ++modifier) {
        for (int i = 0; i < perModifier; ++i) {
            const xcb_keycode_t code = map[modifier * perModifier + i];
            if (code == 0) {
                continue;
            }
            for (const xcb_keycode_t* n = numLockCodes.get(); *n != XCB_NO_SYMBOL; ++n) {
                if (*n == code) {
                    return static_cast<quint16>(1u << modifier);
                }
            }
        }
    }
    return 0;
}

// XKB event kinds (the second byte of an XKB event).
constexpr quint8 xkbNewKeyboardNotify = 0;
constexpr quint8 xkbMapNotify = 1;

quint8 xkbFirstEvent(xcb_connection_t* connection) {
    static const char name[] = "XKEYBOARD";
    std::unique_ptr<xcb_query_extension_reply_t, decltype(&std::free)> reply(
        xcb_query_extension_reply(connection,
                                  xcb_query_extension(connection, sizeof(name) - 1, name), nullptr),
        &std::free);
    return reply && reply->present ? reply->first_event : 0;
}

// Waits until the server has handled everything sent so far, so a released key is free for
// other clients by the time we return.
void sync(xcb_connection_t* connection) {
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

} // namespace

X11HotKeyBackend::X11HotKeyBackend() {
    if (auto* x11 =
            qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr) {
        m_connection = x11->connection();
        if (m_connection) {
            m_root = rootWindow(m_connection, x11->display());
        }
    }
}

X11HotKeyBackend::X11HotKeyBackend(xcb_connection_t* connection, _XDisplay* display)
    : m_connection(connection) {
    if (m_connection) {
        m_root = rootWindow(m_connection, display);
    }
}

X11HotKeyBackend::~X11HotKeyBackend() {
    if (connectionUsable()) {
        for (const Grab& grab : std::as_const(m_grabs)) {
            ungrab(grab);
        }
        sync(m_connection);
    }
    m_grabs.clear();
    removeHandler();
    if (m_keySymbols) {
        xcb_key_symbols_free(m_keySymbols);
    }
}

bool X11HotKeyBackend::connectionUsable() const {
    // The connection belongs to Qt's platform plugin; it is gone once the application is.
    return m_connection && m_root != 0 && QCoreApplication::instance() &&
           xcb_connection_has_error(m_connection) == 0;
}

HotKeyStatus X11HotKeyBackend::installHandler(Handler handler) {
    if (!connectionUsable()) {
        return HotKeyStatus::noDisplayConnection;
    }
    if (!m_keySymbols) {
        m_keySymbols = xcb_key_symbols_alloc(m_connection);
        if (!m_keySymbols) {
            qCWarning(platformLog) << "No key symbols from the X server: no global shortcut works";
            return HotKeyStatus::noDisplayConnection;
        }
        m_numLockMask = findNumLockMask(m_connection, m_keySymbols);
        m_xkbFirstEvent = xkbFirstEvent(m_connection);
    }
    m_handler = std::move(handler);
    if (!m_filterInstalled) {
        QCoreApplication::instance()->installNativeEventFilter(this);
        m_filterInstalled = true;
    }
    return HotKeyStatus::success;
}

void X11HotKeyBackend::removeHandler() {
    if (m_filterInstalled && QCoreApplication::instance()) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
    m_filterInstalled = false;
    m_handler = nullptr;
}

QList<quint16> X11HotKeyBackend::lockVariants() const {
    QList<quint16> variants{0, XCB_MOD_MASK_LOCK};
    if (m_numLockMask != 0 && m_numLockMask != XCB_MOD_MASK_LOCK) {
        variants << m_numLockMask << static_cast<quint16>(m_numLockMask | XCB_MOD_MASK_LOCK);
    }
    return variants;
}

HotKeyBackend::Registration X11HotKeyBackend::registerHotKey(quint32 id, QKeyCombination keys) {
    if (!connectionUsable()) {
        return {HotKeyStatus::noDisplayConnection, 0};
    }
    if (!m_keySymbols) {
        return {HotKeyStatus::handlerNotInstalled, 0};
    }
    const std::optional<quint16> xModifiers = xModifiersFor(keys.keyboardModifiers());
    if (!xModifiers) {
        return {HotKeyStatus::unsupportedModifiers, 0};
    }
    const xcb_keysym_t keysym = keysymForQtKey(keys.key());
    if (keysym == 0) {
        return {HotKeyStatus::unknownKey, 0};
    }
    std::unique_ptr<xcb_keycode_t, decltype(&std::free)> codes(
        xcb_key_symbols_get_keycode(m_keySymbols, keysym), &std::free);
    if (!codes || codes.get()[0] == XCB_NO_SYMBOL) {
        return {HotKeyStatus::unknownKey, 0};
    }
    const Grab grab{id, keysym, codes.get()[0], *xModifiers, HotKeyStatus::success};
    const GrabKey key{m_root, grab.keycode, grab.modifiers};
    if (grabsInProcess().contains(key)) {
        return {HotKeyStatus::alreadyTaken, 0};
    }
    const HotKeyStatus status = grabAllVariants(grab);
    if (status != HotKeyStatus::success) {
        return {status, 0};
    }
    grabsInProcess().insert(key);
    const quint64 ref = m_nextRef++;
    m_grabs.insert(ref, grab);
    return {HotKeyStatus::success, ref};
}

HotKeyStatus X11HotKeyBackend::grabAllVariants(const Grab& grab) {
    // Send all four grabs, then collect their answers: one round trip per variant would do too,
    // but any refusal (BadAccess when another client holds it) must undo the ones that worked.
    const QList<quint16> variants = lockVariants();
    std::array<xcb_void_cookie_t, 4> cookies{};
    for (qsizetype i = 0; i < variants.size(); ++i) {
        cookies[i] = xcb_grab_key_checked(m_connection, 1, m_root,
                                          static_cast<quint16>(grab.modifiers | variants[i]),
                                          grab.keycode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    }
    quint8 firstError = 0;
    QList<quint16> granted;
    for (qsizetype i = 0; i < variants.size(); ++i) {
        if (xcb_generic_error_t* error = xcb_request_check(m_connection, cookies[i])) {
            if (firstError == 0) {
                firstError = error->error_code;
            }
            std::free(error);
        } else {
            granted << variants[i];
        }
    }
    if (firstError == 0) {
        return HotKeyStatus::success;
    }
    for (quint16 variant : granted) {
        xcb_ungrab_key(m_connection, grab.keycode, m_root,
                       static_cast<quint16>(grab.modifiers | variant));
    }
    sync(m_connection);
    if (firstError == badAccessError) {
        return HotKeyStatus::takenByAnotherClient;
    }
    qCWarning(platformLog) << "The X server refused a global shortcut's key grab with error"
                           << firstError;
    return HotKeyStatus::refusedByDisplayServer;
}

void X11HotKeyBackend::ungrab(const Grab& grab) {
    if (grab.status != HotKeyStatus::success) {
        return;
    }
    for (quint16 variant : lockVariants()) {
        xcb_ungrab_key(m_connection, grab.keycode, m_root,
                       static_cast<quint16>(grab.modifiers | variant));
    }
    grabsInProcess().remove(GrabKey{m_root, grab.keycode, grab.modifiers});
}

void X11HotKeyBackend::unregisterHotKey(quint64 ref) {
    const auto it = m_grabs.constFind(ref);
    if (it == m_grabs.constEnd()) {
        return;
    }
    if (connectionUsable()) {
        ungrab(*it);
        sync(m_connection);
    } else if (it->status == HotKeyStatus::success) {
        grabsInProcess().remove(GrabKey{m_root, it->keycode, it->modifiers});
    }
    m_grabs.erase(it);
}

HotKeyBackend::Binding X11HotKeyBackend::binding(quint64 ref) const {
    const auto it = m_grabs.constFind(ref);
    return {it == m_grabs.constEnd() ? HotKeyStatus::nothingStored : it->status, {}};
}

void X11HotKeyBackend::setBindingsChangedHandler(std::function<void()> handler) {
    m_bindingsChanged = std::move(handler);
}

void X11HotKeyBackend::noteMappingEvent(const xcb_generic_event_t& event) {
    const quint8 type = event.response_type & ~0x80;
    bool keyboardChanged = false;
    if (type == XCB_MAPPING_NOTIFY) {
        const auto& mapping = reinterpret_cast<const xcb_mapping_notify_event_t&>(event);
        keyboardChanged =
            mapping.request == XCB_MAPPING_KEYBOARD || mapping.request == XCB_MAPPING_MODIFIER;
    } else if (m_xkbFirstEvent != 0 && type == m_xkbFirstEvent) {
        // The XKB event kind sits in the second byte: 0 new keyboard, 1 new map.
        keyboardChanged = event.pad0 == xkbNewKeyboardNotify || event.pad0 == xkbMapNotify;
    }
    if (!keyboardChanged || m_regrabQueued || m_grabs.isEmpty()) {
        return;
    }
    // One re-grab after the burst of notifications a layout switch sends, and after Qt has
    // seen them too.
    m_regrabQueued = true;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [this, alive = std::weak_ptr<bool>(m_alive)] {
            if (!alive.expired()) {
                regrabAll();
            }
        },
        Qt::QueuedConnection);
}

void X11HotKeyBackend::regrabAll() {
    m_regrabQueued = false;
    if (!connectionUsable() || !m_keySymbols) {
        return;
    }
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(m_connection);
    if (!symbols) {
        return;
    }
    const quint16 numLockMask = findNumLockMask(m_connection, symbols);
    QHash<quint64, xcb_keycode_t> keycodes;
    bool moved = numLockMask != m_numLockMask;
    for (auto it = m_grabs.cbegin(); it != m_grabs.cend(); ++it) {
        std::unique_ptr<xcb_keycode_t, decltype(&std::free)> codes(
            xcb_key_symbols_get_keycode(symbols, it->keysym), &std::free);
        const xcb_keycode_t code = codes ? codes.get()[0] : xcb_keycode_t(XCB_NO_SYMBOL);
        keycodes.insert(it.key(), code);
        moved = moved || code != it->keycode || it->status != HotKeyStatus::success;
    }
    xcb_key_symbols_free(m_keySymbols);
    m_keySymbols = symbols;
    // Switching between keyboards announces a "new" one with the same map: nothing moved.
    if (!moved) {
        return;
    }
    // Ungrab with the old key codes and lock masks, then grab the new ones.
    for (const Grab& grab : std::as_const(m_grabs)) {
        ungrab(grab);
    }
    m_numLockMask = numLockMask;
    m_down.clear();
    bool changed = false;
    for (auto it = m_grabs.begin(); it != m_grabs.end(); ++it) {
        Grab& grab = *it;
        const HotKeyStatus before = grab.status;
        const xcb_keycode_t code = keycodes.value(it.key());
        if (code == XCB_NO_SYMBOL) {
            grab.status = HotKeyStatus::unknownKey;
        } else {
            grab.keycode = code;
            const GrabKey key{m_root, grab.keycode, grab.modifiers};
            grab.status =
                grabsInProcess().contains(key) ? HotKeyStatus::alreadyTaken : grabAllVariants(grab);
            if (grab.status == HotKeyStatus::success) {
                grabsInProcess().insert(key);
            }
        }
        changed = changed || grab.status != before;
    }
    sync(m_connection);
    if (changed && m_bindingsChanged) {
        const std::function<void()> bindingsChanged = m_bindingsChanged;
        bindingsChanged();
    }
}

bool X11HotKeyBackend::isRepeat(const xcb_key_press_event_t& press) {
    // A press that follows a release of the same key at the same moment is a classic repeat.
    if (m_lastReleasedKey == press.detail && m_lastReleaseTime == press.time) {
        m_down.insert(press.detail, press.time);
        return true;
    }
    const auto down = m_down.constFind(press.detail);
    // Repeats come many times a second; a key that seems held but was last pressed a while
    // ago lost its release (the grab ended elsewhere) and is pressed anew.
    constexpr xcb_timestamp_t repeatGapMs = 1000;
    const bool repeat = down != m_down.constEnd() && press.time - *down < repeatGapMs;
    m_down.insert(press.detail, press.time);
    return repeat;
}

bool X11HotKeyBackend::nativeEventFilter(const QByteArray& eventType, void* message,
                                         qintptr* result) {
    if (eventType != "xcb_generic_event_t" || !message || !m_handler) {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const quint8 type = event->response_type & ~0x80;
    if (type == XCB_KEY_RELEASE) {
        const auto* release = static_cast<const xcb_key_release_event_t*>(message);
        if (release->root == m_root && m_down.remove(release->detail) > 0) {
            m_lastReleasedKey = release->detail;
            m_lastReleaseTime = release->time;
        }
        return false;
    }
    if (type != XCB_KEY_PRESS) {
        // Qt handles the new keyboard map itself; this only learns that there is one.
        noteMappingEvent(*event);
        return false;
    }
    const auto* press = static_cast<const xcb_key_press_event_t*>(message);
    if (press->root != m_root) {
        return false;
    }
    const quint16 state =
        press->state & relevantModifierBits & ~static_cast<quint16>(m_numLockMask);
    for (const Grab& grab : std::as_const(m_grabs)) {
        if (grab.status == HotKeyStatus::success && grab.keycode == press->detail &&
            grab.modifiers == state) {
            if (isRepeat(*press)) {
                // Held down: the shortcut ran on the first press.
                return true;
            }
            // The handler may drop this backend's registrations; copy it first.
            const Handler handler = m_handler;
            return handler(grab.id);
        }
    }
    return false;
}

} // namespace plimbo
