#include "ScreenSaverPowerAssertion.h"

#include "FakeBusTest.h"

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QElapsedTimer>
#include <QMutex>
#include <QThread>

#include <atomic>
#include <memory>

using namespace plimbo;

namespace {

// A stand-in desktop screen saver.
class FakeScreenSaver : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

public:
    std::atomic<int> delayMs{0};
    std::atomic<uint> nextCookie{0};

    QStringList calls() const {
        QMutexLocker lock(&m_mutex);
        return m_calls;
    }

public slots:
    uint Inhibit(const QString& applicationName, const QString& reason) {
        QThread::msleep(delayMs);
        QMutexLocker lock(&m_mutex);
        const uint cookie = nextCookie++;
        m_calls << QStringLiteral("Inhibit %1|%2 -> %3").arg(applicationName, reason).arg(cookie);
        return cookie;
    }

    void UnInhibit(uint cookie) {
        QMutexLocker lock(&m_mutex);
        m_calls << QStringLiteral("UnInhibit %1").arg(cookie);
    }

private:
    mutable QMutex m_mutex;
    QStringList m_calls;
};

class ScreenSaverPowerAssertionTest : public test::FakeBusTest<FakeScreenSaver> {
protected:
    ScreenSaverPowerAssertionTest()
        : FakeBusTest(QStringLiteral("ScreenSaver"),
                      QString::fromLatin1(ScreenSaverPowerAssertion::objectPath)) {}
};

} // namespace

TEST_F(ScreenSaverPowerAssertionTest, CookieZeroIsAHeldInhibitionAndIsReleasedByValue) {
    ASSERT_TRUE(publishFake());
    ScreenSaverPowerAssertion assertion(QDBusConnection::sessionBus(), serviceName);

    const std::optional<quint32> id =
        assertion.createNoDisplaySleepAssertion(QStringLiteral("Plimbo Keep Awake"));
    ASSERT_TRUE(id.has_value()) << assertion.lastError().toStdString();
    EXPECT_EQ(*id, 0u);
    EXPECT_TRUE(assertion.releaseAssertion(*id));
    EXPECT_EQ(fake->calls(), (QStringList{"Inhibit Plimbo|Plimbo Keep Awake -> 0", "UnInhibit 0"}));
}

TEST_F(ScreenSaverPowerAssertionTest, LaterCookiesArePassedThrough) {
    fake->nextCookie = 41;
    ASSERT_TRUE(publishFake());
    ScreenSaverPowerAssertion assertion(QDBusConnection::sessionBus(), serviceName);
    EXPECT_EQ(assertion.createNoDisplaySleepAssertion(QStringLiteral("x")), 41u);
    EXPECT_EQ(assertion.createNoDisplaySleepAssertion(QStringLiteral("x")), 42u);
}

TEST_F(ScreenSaverPowerAssertionTest, NoServiceOnTheBusIsARefusalAtOnce) {
    ScreenSaverPowerAssertion assertion(QDBusConnection::sessionBus(), serviceName);
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(assertion.createNoDisplaySleepAssertion(QStringLiteral("x")).has_value());
    EXPECT_LT(clock.elapsed(), 1500);
    EXPECT_FALSE(assertion.lastError().isEmpty());
    EXPECT_FALSE(assertion.releaseAssertion(0));
}

TEST_F(ScreenSaverPowerAssertionTest, AServiceThatDoesNotAnswerInTimeIsARefusal) {
    fake->delayMs = 1200;
    ASSERT_TRUE(publishFake());
    ScreenSaverPowerAssertion assertion(QDBusConnection::sessionBus(), serviceName, 200);
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(assertion.createNoDisplaySleepAssertion(QStringLiteral("x")).has_value());
    EXPECT_LT(clock.elapsed(), 1000);
}

TEST(ScreenSaverPowerAssertionWithoutBus, NoBusConnectionIsARefusal) {
    ScreenSaverPowerAssertion assertion(
        QDBusConnection(QStringLiteral("plimbo-never-connected")),
        QString::fromLatin1(ScreenSaverPowerAssertion::defaultServiceName));
    EXPECT_FALSE(assertion.createNoDisplaySleepAssertion(QStringLiteral("x")).has_value());
    EXPECT_FALSE(assertion.releaseAssertion(0));
}

#include "ScreenSaverPowerAssertionTest.moc"
