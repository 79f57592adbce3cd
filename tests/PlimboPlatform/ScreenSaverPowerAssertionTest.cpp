#include "ScreenSaverPowerAssertion.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QElapsedTimer>
#include <QMutex>
#include <QThread>

#include <atomic>
#include <memory>

using namespace plimbo;

namespace {

// A stand-in desktop screen saver. It lives on its own thread with its own bus connection:
// our backend's calls block the calling thread, so a service living there could never answer.
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

// A service name no other test process uses, so ctest -j cannot collide on the shared bus.
QString uniqueServiceName() {
    static int counter = 0;
    return QStringLiteral("org.plimbo.test.ScreenSaver.p%1_%2")
        .arg(QCoreApplication::applicationPid())
        .arg(++counter);
}

class ScreenSaverPowerAssertionTest : public testing::Test {
protected:
    void SetUp() override {
        if (!QDBusConnection::sessionBus().isConnected()) {
            GTEST_SKIP() << "needs a D-Bus session bus (run through tools/test-session.sh)";
        }
        serviceName = uniqueServiceName();
        connectionName = QStringLiteral("fake-screensaver-") + serviceName;
        thread.start();
        fake = new FakeScreenSaver;
        fake->moveToThread(&thread);
    }

    void TearDown() override {
        if (!fake) {
            return;
        }
        QDBusConnection::disconnectFromBus(connectionName);
        thread.quit();
        thread.wait();
        delete fake;
    }

    bool publishFake() {
        QDBusConnection bus =
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName);
        return bus.isConnected() &&
               bus.registerObject(QString::fromLatin1(ScreenSaverPowerAssertion::objectPath), fake,
                                  QDBusConnection::ExportAllSlots) &&
               bus.registerService(serviceName);
    }

    QString serviceName;
    QString connectionName;
    QThread thread;
    FakeScreenSaver* fake = nullptr;
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
