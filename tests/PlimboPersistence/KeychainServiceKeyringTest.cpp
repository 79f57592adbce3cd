#include "KeychainError.h"
#include "KeychainService.h"
#include "LibsecretSecretStore.h"

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>
#include <QSemaphore>
#include <QThreadPool>
#include <QUuid>

using namespace plimbo;

// Runs against the real Secret Service of the session (an unlocked gnome-keyring in the test
// session); skipped when the session has none. Every test uses a service name of its own.
namespace {

bool secretServiceRunning() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()) {
        return false;
    }
    return bus.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.secrets")).value();
}

struct ToolResult {
    int exitCode = -1;
    QByteArray output;
};

ToolResult secretTool(const QStringList& arguments, const QByteArray& input = {}) {
    QProcess process;
    process.start(QStringLiteral("secret-tool"), arguments);
    if (!process.waitForStarted(5000)) {
        return {};
    }
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished(1000);
        return {};
    }
    return {process.exitCode(), process.readAllStandardOutput()};
}

class KeychainServiceKeyringTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!secretServiceRunning()) {
            GTEST_SKIP() << "no org.freedesktop.secrets on the session bus (run under "
                            "tools/test-session.sh)";
        }
    }

    void TearDown() override {
        if (secretServiceRunning()) {
            secretTool({"clear", "service", service});
        }
    }

    int itemCount(const QString& account) {
        const ToolResult result =
            secretTool({"search", "--all", "service", service, "account", account});
        return static_cast<int>(result.output.count("secret = "));
    }

    QString service =
        QStringLiteral("com.plimbo.test.") + QUuid::createUuid().toString(QUuid::Id128);
    std::shared_ptr<LibsecretSecretStore> store = std::make_shared<LibsecretSecretStore>();
    KeychainService keychain{service, store};
};

} // namespace

TEST_F(KeychainServiceKeyringTest, SavesReplacesReadsAndDeletes) {
    const QString account = KeychainService::openRouterAccount;
    EXPECT_EQ(keychain.read(account), std::nullopt);
    keychain.save("sk-or-first", account);
    keychain.save("sk-or-second ✓", account);
    EXPECT_EQ(keychain.read(account), "sk-or-second ✓");
    EXPECT_EQ(itemCount(account), 1);

    keychain.remove(account);
    EXPECT_EQ(keychain.read(account), std::nullopt);
    EXPECT_NO_THROW(keychain.remove(account));
    EXPECT_EQ(itemCount(account), 0);
}

TEST_F(KeychainServiceKeyringTest, FindsAndUpdatesAnItemStoredWithSecretTool) {
    const QString account = KeychainService::openRouterAccount;
    ASSERT_EQ(secretTool({"store", "--label=x", "service", service, "account", account},
                         "sk-or-from-the-command-line")
                  .exitCode,
              0);
    EXPECT_EQ(keychain.read(account), "sk-or-from-the-command-line");

    // Saving updates that item instead of adding a second one that could shadow it.
    keychain.save("sk-or-replaced", account);
    EXPECT_EQ(itemCount(account), 1);
    EXPECT_EQ(secretTool({"lookup", "service", service, "account", account}).output,
              "sk-or-replaced");

    keychain.remove(account);
    EXPECT_EQ(itemCount(account), 0);
}

TEST_F(KeychainServiceKeyringTest, ValueThatIsNotUtf8IsInvalidData) {
    const QByteArray bytes("\xc3\x28 not text \xff", 14);
    ASSERT_EQ(store->save(service, "binary", bytes), SecretStatus::success);
    EXPECT_EQ(store->read(service, "binary"), SecretStore::ReadResult::makeFound(bytes));
    try {
        keychain.read("binary");
        FAIL() << "read did not throw";
    } catch (const KeychainError& error) {
        EXPECT_EQ(error, KeychainError::invalidData());
    }
}

// The model reads the key before every request on a worker thread, whose own main context
// never runs. Whatever a read leaves for a context to free stays then: a sanitizer build's
// leak check at the end of this program reports it.
TEST_F(KeychainServiceKeyringTest, ReadsOnAWorkerThreadLeaveNothingBehind) {
    const QString account = KeychainService::openRouterAccount;
    keychain.save("sk-or-worker", account);
    for (int i = 0; i < 3; ++i) {
        std::optional<QString> read;
        QSemaphore done;
        QThreadPool::globalInstance()->start([&] {
            read = keychain.read(account);
            done.release();
        });
        done.acquire();
        EXPECT_EQ(read, "sk-or-worker");
    }
}
