#include "X11HotKeyBackend.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QProcess>
#include <QTest>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

using namespace plimbo;

namespace {

bool haveX11() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") &&
           QGuiApplication::platformName() == QLatin1String("xcb");
}

bool xdotool(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    // xdotool never waits on us, so a blocking wait cannot deadlock here.
    return process.waitForFinished(5000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// The X server's keyboard state as seen by a pointer query.
quint16 modifierState(xcb_connection_t* connection, xcb_window_t root) {
    std::unique_ptr<xcb_query_pointer_reply_t, decltype(&std::free)> reply(
        xcb_query_pointer_reply(connection, xcb_query_pointer(connection, root), nullptr),
        &std::free);
    return reply ? reply->mask : 0;
}

// Another X client: its grabs collide with ours the way another application's would.
class OtherClient {
public:
    OtherClient() {
        m_connection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(m_connection) == 0) {
            m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        }
    }
    ~OtherClient() { xcb_disconnect(m_connection); }

    bool usable() const { return m_root != 0; }
    xcb_window_t root() const { return m_root; }
    xcb_connection_t* connection() const { return m_connection; }

    xcb_keycode_t keycodeOf(xcb_keysym_t keysym) const;

    // 0 on success, else the X error code.
    int grab(xcb_keycode_t keycode, quint16 modifiers) {
        xcb_generic_error_t* error = xcb_request_check(
            m_connection, xcb_grab_key_checked(m_connection, 1, m_root, modifiers, keycode,
                                               XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        const int code = error ? error->error_code : 0;
        std::free(error);
        return code;
    }
    void ungrab(xcb_keycode_t keycode, quint16 modifiers) {
        xcb_ungrab_key(m_connection, keycode, m_root, modifiers);
        // A round trip: the server has released it before any other client asks.
        std::free(
            xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    }

private:
    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = 0;
};

xcb_keycode_t OtherClient::keycodeOf(xcb_keysym_t keysym) const {
    const xcb_setup_t* setup = xcb_get_setup(m_connection);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    std::unique_ptr<xcb_get_keyboard_mapping_reply_t, decltype(&std::free)> reply(
        xcb_get_keyboard_mapping_reply(
            m_connection, xcb_get_keyboard_mapping(m_connection, setup->min_keycode, count),
            nullptr),
        &std::free);
    if (!reply) {
        return 0;
    }
    const xcb_keysym_t* symbols = xcb_get_keyboard_mapping_keysyms(reply.get());
    const int perCode = reply->keysyms_per_keycode;
    for (int code = 0; code < count; ++code) {
        for (int i = 0; i < perCode; ++i) {
            if (symbols[code * perCode + i] == keysym) {
                return static_cast<xcb_keycode_t>(setup->min_keycode + code);
            }
        }
    }
    return 0;
}

constexpr xcb_keysym_t keysymV = 0x76;
constexpr quint16 controlAlt = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;
// The X error another client gets for a combination held here.
constexpr int badAccess = 10;

class X11HotKeyBackendX11Test : public testing::Test {
protected:
    void SetUp() override {
        if (!haveX11()) {
            GTEST_SKIP() << "needs an X server (DISPLAY)";
        }
    }

    // Installs a handler that counts presses per identifier.
    std::unique_ptr<X11HotKeyBackend> makeBackend() {
        auto backend = std::make_unique<X11HotKeyBackend>();
        EXPECT_EQ(backend->installHandler([this](quint32 id) {
            presses.append(id);
            return true;
        }),
                  HotKeyStatus::success);
        return backend;
    }

    bool waitForPresses(qsizetype count) {
        return QTest::qWaitFor([&] { return presses.size() >= count; }, 3000);
    }

    QList<quint32> presses;
};

} // namespace

TEST_F(X11HotKeyBackendX11Test, PressesOfGrabbedCombinationsReachTheHandlerWithTheirIds) {
    auto backend = makeBackend();
    const auto palette = backend->registerHotKey(
        1, QKeyCombination(Qt::MetaModifier | Qt::AltModifier, Qt::Key_Space));
    const auto launcher =
        backend->registerHotKey(2, QKeyCombination(Qt::AltModifier, Qt::Key_Space));
    const auto clipboard = backend->registerHotKey(
        3, QKeyCombination(Qt::ControlModifier | Qt::AltModifier, Qt::Key_V));
    ASSERT_EQ(palette.status, HotKeyStatus::success);
    ASSERT_EQ(launcher.status, HotKeyStatus::success);
    ASSERT_EQ(clipboard.status, HotKeyStatus::success);
    EXPECT_NE(palette.ref, 0u);

    ASSERT_TRUE(xdotool({"key", "alt+space"}));
    ASSERT_TRUE(waitForPresses(1));
    ASSERT_TRUE(xdotool({"key", "super+alt+space"}));
    ASSERT_TRUE(waitForPresses(2));
    ASSERT_TRUE(xdotool({"key", "ctrl+alt+v"}));
    ASSERT_TRUE(waitForPresses(3));
    // A combination with an extra modifier is someone else's shortcut.
    ASSERT_TRUE(xdotool({"key", "ctrl+alt+shift+v"}));
    QTest::qWait(200);
    EXPECT_EQ(presses, (QList<quint32>{2, 1, 3}));
}

TEST_F(X11HotKeyBackendX11Test, LockKeysDoNotSwallowTheShortcut) {
    auto backend = makeBackend();
    ASSERT_NE(backend->numLockMask(), 0) << "the server's keymap has no Num Lock modifier";
    ASSERT_EQ(backend->registerHotKey(2, QKeyCombination(Qt::AltModifier, Qt::Key_Space)).status,
              HotKeyStatus::success);

    OtherClient probe;
    ASSERT_TRUE(probe.usable());
    ASSERT_TRUE(xdotool({"key", "Num_Lock"}));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return modifierState(probe.connection(), probe.root()) & backend->numLockMask(); },
        2000));
    const bool pressed = xdotool({"key", "alt+space"}) && waitForPresses(1);
    ASSERT_TRUE(xdotool({"key", "Caps_Lock"}));
    const bool pressedWithBoth = xdotool({"key", "alt+space"}) && waitForPresses(2);
    // Leave the shared server as we found it.
    xdotool({"key", "Caps_Lock"});
    xdotool({"key", "Num_Lock"});
    EXPECT_TRUE(pressed);
    EXPECT_TRUE(pressedWithBoth);
    EXPECT_EQ(presses, (QList<quint32>{2, 2}));
}

TEST_F(X11HotKeyBackendX11Test, CombinationHeldByAnotherClientIsReportedAsTakenByIt) {
    OtherClient other;
    ASSERT_TRUE(other.usable());
    const xcb_keycode_t v = other.keycodeOf(keysymV);
    ASSERT_NE(v, 0);
    ASSERT_EQ(other.grab(v, controlAlt), 0);

    auto backend = makeBackend();
    const auto refused = backend->registerHotKey(
        3, QKeyCombination(Qt::ControlModifier | Qt::AltModifier, Qt::Key_V));
    EXPECT_EQ(refused.status, HotKeyStatus::takenByAnotherClient);
    EXPECT_EQ(refused.ref, 0u);

    // The lock variants that did succeed were given back: the other client can take them.
    EXPECT_EQ(other.grab(v, controlAlt | XCB_MOD_MASK_LOCK), 0);
    other.ungrab(v, controlAlt | XCB_MOD_MASK_LOCK);
    if (backend->numLockMask() != 0) {
        EXPECT_EQ(other.grab(v, controlAlt | backend->numLockMask()), 0);
        other.ungrab(v, controlAlt | backend->numLockMask());
    }

    // Once the other client lets go, the same registration succeeds.
    other.ungrab(v, controlAlt);
    EXPECT_EQ(
        backend
            ->registerHotKey(3, QKeyCombination(Qt::ControlModifier | Qt::AltModifier, Qt::Key_V))
            .status,
        HotKeyStatus::success);
}

TEST_F(X11HotKeyBackendX11Test, UnregisteringGivesTheKeyBackToTheServer) {
    auto backend = makeBackend();
    const auto registration = backend->registerHotKey(
        3, QKeyCombination(Qt::ControlModifier | Qt::AltModifier, Qt::Key_V));
    ASSERT_EQ(registration.status, HotKeyStatus::success);

    OtherClient other;
    ASSERT_TRUE(other.usable());
    const xcb_keycode_t v = other.keycodeOf(keysymV);
    EXPECT_EQ(other.grab(v, controlAlt), badAccess);

    backend->unregisterHotKey(registration.ref);
    ASSERT_TRUE(xdotool({"key", "ctrl+alt+v"}));
    QTest::qWait(200);
    EXPECT_TRUE(presses.isEmpty());
    EXPECT_EQ(other.grab(v, controlAlt), 0);
    other.ungrab(v, controlAlt);
}

TEST_F(X11HotKeyBackendX11Test, OneProcessHoldsACombinationOnlyOnce) {
    auto first = makeBackend();
    X11HotKeyBackend second;
    ASSERT_EQ(second.installHandler([](quint32) { return true; }), HotKeyStatus::success);
    const auto held = first->registerHotKey(2, QKeyCombination(Qt::AltModifier, Qt::Key_Space));
    ASSERT_EQ(held.status, HotKeyStatus::success);
    // X would accept the second grab silently, and either owner's ungrab would drop both.
    EXPECT_EQ(second.registerHotKey(7, QKeyCombination(Qt::AltModifier, Qt::Key_Space)).status,
              HotKeyStatus::alreadyTaken);

    first->unregisterHotKey(held.ref);
    EXPECT_EQ(second.registerHotKey(7, QKeyCombination(Qt::AltModifier, Qt::Key_Space)).status,
              HotKeyStatus::success);
}

TEST_F(X11HotKeyBackendX11Test, DestroyingTheBackendReleasesItsGrabs) {
    {
        auto backend = makeBackend();
        ASSERT_EQ(backend
                      ->registerHotKey(
                          3, QKeyCombination(Qt::ControlModifier | Qt::AltModifier, Qt::Key_V))
                      .status,
                  HotKeyStatus::success);
    }
    OtherClient other;
    ASSERT_TRUE(other.usable());
    const xcb_keycode_t v = other.keycodeOf(keysymV);
    EXPECT_EQ(other.grab(v, controlAlt), 0);
    other.ungrab(v, controlAlt);
}

TEST_F(X11HotKeyBackendX11Test, CombinationsThatCannotBeNamedAreRefused) {
    X11HotKeyBackend withoutHandler;
    EXPECT_EQ(
        withoutHandler.registerHotKey(1, QKeyCombination(Qt::AltModifier, Qt::Key_Space)).status,
        HotKeyStatus::handlerNotInstalled);

    auto backend = makeBackend();
    EXPECT_EQ(
        backend->registerHotKey(1, QKeyCombination(Qt::AltModifier, Qt::Key_MediaPlay)).status,
        HotKeyStatus::unknownKey);
    EXPECT_EQ(backend->registerHotKey(1, QKeyCombination(Qt::KeypadModifier, Qt::Key_Space)).status,
              HotKeyStatus::unsupportedModifiers);
    const auto shifted = backend->registerHotKey(
        1, QKeyCombination(Qt::ShiftModifier | Qt::MetaModifier, Qt::Key_F5));
    EXPECT_EQ(shifted.status, HotKeyStatus::success);
    backend->unregisterHotKey(shifted.ref);
}

namespace {

bool setLayout(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral("setxkbmap"), arguments);
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// Puts the server's layout back however the test ends.
struct LayoutRestorer {
    ~LayoutRestorer() { setLayout({QStringLiteral("us")}); }
};

} // namespace

TEST_F(X11HotKeyBackendX11Test, HoldingAShortcutRunsItOnceNotOncePerKeyRepeat) {
    auto backend = makeBackend();
    ASSERT_EQ(
        backend
            ->registerHotKey(3, QKeyCombination(Qt::ControlModifier | Qt::AltModifier, Qt::Key_V))
            .status,
        HotKeyStatus::success);
    // Held well past the repeat delay (xset r rate: 660 ms, then 25 a second).
    ASSERT_TRUE(xdotool({"keydown", "ctrl+alt+v"}));
    QTest::qWait(1500);
    ASSERT_TRUE(xdotool({"keyup", "ctrl+alt+v"}));
    ASSERT_TRUE(waitForPresses(1));
    QTest::qWait(200);
    EXPECT_EQ(presses, QList<quint32>{3});

    // Pressed again after the release: runs again.
    ASSERT_TRUE(xdotool({"key", "ctrl+alt+v"}));
    ASSERT_TRUE(waitForPresses(2));
    ASSERT_TRUE(xdotool({"key", "ctrl+alt+v"}));
    ASSERT_TRUE(waitForPresses(3));
    EXPECT_EQ(presses, (QList<quint32>{3, 3, 3}));
}

TEST_F(X11HotKeyBackendX11Test, ALayoutSwitchRegrabsOnTheNewKeyCodes) {
    if (!setLayout({QStringLiteral("us")})) {
        GTEST_SKIP() << "needs setxkbmap";
    }
    LayoutRestorer restore;
    auto backend = makeBackend();
    const auto clipboard = backend->registerHotKey(
        3, QKeyCombination(Qt::ControlModifier | Qt::AltModifier, Qt::Key_V));
    ASSERT_EQ(clipboard.status, HotKeyStatus::success);
    OtherClient other;
    ASSERT_TRUE(other.usable());
    const xcb_keycode_t qwertyV = other.keycodeOf(keysymV);

    // In Dvorak the letter V sits on another key.
    ASSERT_TRUE(
        setLayout({QStringLiteral("us"), QStringLiteral("-variant"), QStringLiteral("dvorak")}));
    OtherClient afterSwitch;
    const xcb_keycode_t dvorakV = afterSwitch.keycodeOf(keysymV);
    ASSERT_NE(dvorakV, qwertyV);
    // The re-grab runs on the event loop once the new map is announced. Then the new key is
    // ours and the old one free again.
    QTest::qWait(1000);
    EXPECT_EQ(afterSwitch.grab(dvorakV, controlAlt), badAccess)
        << "the shortcut was not grabbed on its new key code";
    EXPECT_EQ(afterSwitch.grab(qwertyV, controlAlt), 0);
    afterSwitch.ungrab(qwertyV, controlAlt);
    EXPECT_EQ(backend->binding(clipboard.ref).status, HotKeyStatus::success);

    ASSERT_TRUE(xdotool({"key", "ctrl+alt+v"}));
    ASSERT_TRUE(waitForPresses(1));
    EXPECT_EQ(presses, QList<quint32>{3});

    // And back.
    ASSERT_TRUE(setLayout({QStringLiteral("us")}));
    QTest::qWait(1000);
    EXPECT_EQ(afterSwitch.grab(qwertyV, controlAlt), badAccess);
    ASSERT_TRUE(xdotool({"key", "ctrl+alt+v"}));
    ASSERT_TRUE(waitForPresses(2));
    EXPECT_EQ(presses, (QList<quint32>{3, 3}));
}
