#include "LibsecretSecretStore.h"
#include "PrivateBus.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

using namespace plimbo;
using namespace plimbo::test;
using namespace std::chrono_literals;

// libsecret talks to the session bus that the process found at its first use, so each case
// runs the store in a child process (this test program, filtered to the child case below)
// pointed at a private bus.
namespace {

const char* const childVariable = "PLIMBO_SECRET_STORE_CHILD";

// Owns the Secret Service name and swallows every call without answering, like a keyring
// daemon that hangs.
class SilentSecretService : public QDBusVirtualObject {
public:
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage&, const QDBusConnection&) override {
        ++received;
        return true;
    }
    int received = 0;
};

struct ChildResult {
    bool finished = false;
    qint64 elapsedMs = 0;
    int readOutcome = -1;
    int readStatus = 0;
    int saveStatus = 0;
    int removeStatus = 0;
};

ChildResult runChild(const QString& busAddress) {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), busAddress);
    environment.insert(QString::fromLatin1(childVariable), QStringLiteral("1"));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=LibsecretSecretStoreChild.Run")});
    QElapsedTimer timer;
    timer.start();
    ChildResult result;
    // Keep the event loop turning: the silent service lives on this thread.
    result.finished = QTest::qWaitFor([&] { return child.state() == QProcess::NotRunning; }, 20000);
    result.elapsedMs = timer.elapsed();
    if (!result.finished) {
        child.kill();
        child.waitForFinished(2000);
        return result;
    }
    for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        if (line.startsWith("RESULT ")) {
            std::sscanf(line.constData(), "RESULT %d %d %d %d", &result.readOutcome,
                        &result.readStatus, &result.saveStatus, &result.removeStatus);
        }
    }
    return result;
}

} // namespace

// The child side: does one read, save and remove and prints what they gave.
TEST(LibsecretSecretStoreChild, Run) {
    if (qEnvironmentVariableIsEmpty(childVariable)) {
        GTEST_SKIP() << "runs only as the child process of the LibsecretSecretStore tests";
    }
    LibsecretSecretStore store(1000ms);
    const SecretStore::ReadResult read = store.read("com.plimbo.test", "account");
    const SecretStatus save = store.save("com.plimbo.test", "account", "secret");
    const SecretStatus remove = store.remove("com.plimbo.test", "account");
    std::printf("RESULT %d %d %d %d\n", static_cast<int>(read.outcome), int(read.status), int(save),
                int(remove));
    std::fflush(stdout);
}

TEST(LibsecretSecretStore, NoSessionBusFailsAtOnceAsNotAvailable) {
    const ChildResult result = runChild(QStringLiteral("unix:path=/nonexistent/plimbo-no-bus"));
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.readOutcome, static_cast<int>(SecretStore::ReadResult::Outcome::failed));
    EXPECT_EQ(result.readStatus, int(SecretStatus::notAvailable));
    EXPECT_EQ(result.saveStatus, int(SecretStatus::notAvailable));
    EXPECT_EQ(result.removeStatus, int(SecretStatus::notAvailable));
}

TEST(LibsecretSecretStore, BusWithoutSecretServiceFailsAsNotAvailable) {
    PrivateBus bus;
    ASSERT_TRUE(bus.start());
    const ChildResult result = runChild(bus.address());
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.readOutcome, static_cast<int>(SecretStore::ReadResult::Outcome::failed));
    EXPECT_EQ(result.readStatus, int(SecretStatus::notAvailable));
    EXPECT_EQ(result.saveStatus, int(SecretStatus::notAvailable));
    EXPECT_EQ(result.removeStatus, int(SecretStatus::notAvailable));
}

// Calls that never prompt are bounded: a service that does not answer them counts as none.
TEST(LibsecretSecretStore, SilentSecretServiceTimesOutInsteadOfHanging) {
    PrivateBus bus;
    ASSERT_TRUE(bus.start());
    SilentSecretService silent;
    {
        QDBusConnection connection =
            QDBusConnection::connectToBus(bus.address(), QStringLiteral("plimbo-silent-secrets"));
        ASSERT_TRUE(connection.isConnected());
        ASSERT_TRUE(connection.registerVirtualObject(QStringLiteral("/"), &silent,
                                                     QDBusConnection::SubPath));
        ASSERT_TRUE(connection.registerService(QStringLiteral("org.freedesktop.secrets")));
    }
    const ChildResult result = runChild(bus.address());
    QDBusConnection::disconnectFromBus(QStringLiteral("plimbo-silent-secrets"));

    ASSERT_TRUE(result.finished);
    EXPECT_GT(silent.received, 0);
    EXPECT_EQ(result.readOutcome, static_cast<int>(SecretStore::ReadResult::Outcome::failed));
    EXPECT_EQ(result.readStatus, int(SecretStatus::notAvailable));
    EXPECT_EQ(result.saveStatus, int(SecretStatus::notAvailable));
    EXPECT_EQ(result.removeStatus, int(SecretStatus::notAvailable));
    // Three calls of one second each, plus start-up; far below D-Bus's own 25 s.
    EXPECT_LT(result.elapsedMs, 12000);
}
