#include "SessionPowerAssertion.h"
#include "X11ScreenSaverSuspend.h"

#include "FakePowerAssertion.h"

#include <QTest>

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

#include <memory>

using namespace plimbo;

namespace {

// Watches the X server's screen saver over a connection of its own, with a timeout short
// enough to see it start, and puts the server's settings back afterwards.
class X11ScreenSaverSuspendTest : public testing::Test {
protected:
    void SetUp() override {
        m_display = XOpenDisplay(nullptr);
        int events = 0;
        int errors = 0;
        if (!m_display || !XScreenSaverQueryExtension(m_display, &events, &errors)) {
            GTEST_SKIP() << "needs an X server with MIT-SCREEN-SAVER";
        }
        XGetScreenSaver(m_display, &m_timeout, &m_interval, &m_blanking, &m_exposures);
        XSetScreenSaver(m_display, 1, 0, DontPreferBlanking, AllowExposures);
        wake();
    }
    void TearDown() override {
        if (m_display) {
            wake();
            XSetScreenSaver(m_display, m_timeout, m_interval, m_blanking, m_exposures);
            XCloseDisplay(m_display);
        }
    }

    // As if the user touched a key: the saver ends and the idle time starts again.
    void wake() {
        XResetScreenSaver(m_display);
        XSync(m_display, False);
    }
    bool saverOn() {
        XScreenSaverInfo info{};
        XScreenSaverQueryInfo(m_display, DefaultRootWindow(m_display), &info);
        return info.state == ScreenSaverOn;
    }
    bool comesOn() {
        return QTest::qWaitFor([&] { return saverOn(); }, 5000);
    }
    // Well past the timeout of one second.
    bool staysOff() {
        QTest::qWait(2500);
        return !saverOn();
    }

    static std::optional<quint32> take(PowerAssertion& assertion) {
        std::optional<quint32> id;
        assertion.requestNoDisplaySleepAssertion(
            QStringLiteral("Plimbo Keep Awake"),
            [&id](const PowerAssertionReply& reply) { id = reply.id; });
        return id;
    }

    Display* m_display = nullptr;
    int m_timeout = 0, m_interval = 0, m_blanking = 0, m_exposures = 0;
};

} // namespace

TEST_F(X11ScreenSaverSuspendTest, HoldsTheScreenSaverOffExactlyWhileHeld) {
    ASSERT_TRUE(comesOn()) << "the server's screen saver never starts";
    wake();

    auto suspend = std::make_unique<X11ScreenSaverSuspend>();
    const std::optional<quint32> first = take(*suspend);
    ASSERT_TRUE(first.has_value()) << "answered inside the call";
    const std::optional<quint32> second = take(*suspend);
    ASSERT_TRUE(second.has_value());
    wake();
    EXPECT_TRUE(staysOff());

    suspend->releaseAssertion(*first);
    wake();
    EXPECT_TRUE(staysOff()) << "one release ended both";
    suspend->releaseAssertion(*second);
    wake();
    EXPECT_TRUE(comesOn());

    // Plimbo ending with one held lets the screen blank again.
    wake();
    ASSERT_TRUE(take(*suspend).has_value());
    wake();
    EXPECT_TRUE(staysOff());
    suspend.reset();
    wake();
    EXPECT_TRUE(comesOn());
}

TEST_F(X11ScreenSaverSuspendTest, TheSessionFallsBackToTheXServerOnlyWithoutAService) {
    auto missing = std::make_shared<FakePowerAssertion::State>();
    missing->refuse = true;
    missing->serviceMissing = true;
    SessionPowerAssertion session(std::make_unique<FakePowerAssertion>(missing),
                                  std::make_unique<X11ScreenSaverSuspend>());
    const std::optional<quint32> id = take(session);
    ASSERT_TRUE(id.has_value());
    wake();
    EXPECT_TRUE(staysOff());
    session.releaseAssertion(*id);
    wake();
    EXPECT_TRUE(comesOn());

    // A service that exists but refuses: the X server is left alone.
    missing->serviceMissing = false;
    EXPECT_FALSE(take(session).has_value());
    wake();
    EXPECT_TRUE(comesOn());
}

TEST(X11ScreenSaverSuspendWithoutServer, NoXServerIsAMissingService) {
    X11ScreenSaverSuspend suspend(":plimbo-no-such-display");
    std::optional<PowerAssertionReply> answer;
    suspend.requestNoDisplaySleepAssertion(
        QStringLiteral("x"), [&answer](const PowerAssertionReply& reply) { answer = reply; });
    ASSERT_TRUE(answer.has_value());
    EXPECT_FALSE(answer->id.has_value());
    EXPECT_TRUE(answer->serviceMissing);
    suspend.releaseAssertion(1); // nothing held; must not fail
}
