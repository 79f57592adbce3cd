#include "LibsecretSecretStore.h"
#include "PrivateKeyring.h"
#include "StandInPrompter.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>

#include <cstdio>

using namespace plimbo;
using namespace plimbo::test;
using namespace std::chrono_literals;

// The store against a real gnome-keyring-daemon whose login keyring is locked, with a stand-in
// for the desktop's unlock prompter. libsecret keeps the session bus it found first, so the
// store runs in a child process (this program, filtered to the child case below) pointed at
// the keyring's private bus, while this process answers the prompts.
namespace {

const char* const childVariable = "PLIMBO_LOCKED_KEYRING_CHILD";
const QString service = QStringLiteral("com.plimbo.utility");
const QString account = QStringLiteral("openrouter-api-key");
const QByteArray storedKey = "sk-or-v1-locked-keyring-key";
const QString password = QStringLiteral("plimbo-login-password");

struct ChildRun {
    bool finished = false;
    qint64 elapsedMs = 0;
    int readOutcome = -1;
    int readStatus = 0;
    QByteArray readSecret;
    int saveStatus = 0;
    int removeStatus = 0;
};

class LockedKeyringTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(keyring.start(password)) << keyring.daemonOutput().toStdString();
        ASSERT_TRUE(keyring.store(service, account, storedKey));
        ASSERT_TRUE(keyring.lock());
    }

    void TearDown() override {
        // Whatever the prompt's fate, the keyring daemon survives it.
        EXPECT_TRUE(keyring.daemonIsRunning()) << keyring.daemonOutput().toStdString();
    }

    // Runs the store in a child: "read", or "all" for a read, a save and a remove.
    ChildRun runChild(const QString& operations, const QString& readAccount = account,
                      int timeoutMs = 20000) {
        QProcess child;
        QProcessEnvironment environment = keyring.environment();
        environment.insert(QString::fromLatin1(childVariable), operations);
        environment.insert(QStringLiteral("PLIMBO_LOCKED_KEYRING_ACCOUNT"), readAccount);
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_filter=LockedKeyringChild.Run")});
        QElapsedTimer timer;
        timer.start();
        ChildRun run;
        // The event loop keeps turning: the stand-in prompter lives on this thread.
        run.finished =
            QTest::qWaitFor([&] { return child.state() == QProcess::NotRunning; }, timeoutMs);
        run.elapsedMs = timer.elapsed();
        if (!run.finished) {
            child.kill();
            child.waitForFinished(2000);
            return run;
        }
        for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
            const QList<QByteArray> fields = line.split(' ');
            if (fields.value(0) == "READ" && fields.size() >= 3) {
                run.readOutcome = fields[1].toInt();
                run.readStatus = fields[2].toInt();
                run.readSecret = QByteArray::fromHex(fields.value(3));
            } else if (fields.value(0) == "SAVE") {
                run.saveStatus = fields.value(1).toInt();
            } else if (fields.value(0) == "REMOVE") {
                run.removeStatus = fields.value(1).toInt();
            }
        }
        return run;
    }

    PrivateKeyring keyring;
};

constexpr int found = static_cast<int>(SecretStore::ReadResult::Outcome::found);
constexpr int notFound = static_cast<int>(SecretStore::ReadResult::Outcome::notFound);
constexpr int locked = static_cast<int>(SecretStore::ReadResult::Outcome::locked);

} // namespace

// The child side: runs the operations named in its environment and prints what they gave.
TEST(LockedKeyringChild, Run) {
    const QString operations = qEnvironmentVariable(childVariable);
    if (operations.isEmpty()) {
        GTEST_SKIP() << "runs only as the child process of the locked-keyring tests";
    }
    // A short limit for the calls that never prompt: the prompt itself must not be bound by it.
    LibsecretSecretStore store(2000ms);
    const SecretStore::ReadResult read =
        store.read(service, qEnvironmentVariable("PLIMBO_LOCKED_KEYRING_ACCOUNT"));
    std::printf("READ %d %d %s\n", static_cast<int>(read.outcome), int(read.status),
                read.secret.toHex().constData());
    if (operations == QStringLiteral("all")) {
        std::printf("SAVE %d\n", int(store.save(service, account, "sk-or-replacement")));
        std::printf("REMOVE %d\n", int(store.remove(service, account)));
    }
    std::fflush(stdout);
}

TEST_F(LockedKeyringTest, APromptAnsweredAfterThirtySecondsUnlocksAndReadsTheKey) {
    if (!GcrSecretExchange::available()) {
        GTEST_SKIP() << "libgcr-base-3 (shipped with gnome-keyring) is needed to answer";
    }
    StandInPrompter prompter(StandInPrompter::Answer::password, 30000, password.toUtf8());
    ASSERT_TRUE(prompter.registerOn(keyring.connection()));

    const ChildRun run = runChild(QStringLiteral("read"), account, 60000);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.readOutcome, found);
    EXPECT_EQ(run.readSecret, storedKey);
    // The read waited for the person, not for a deadline of its own.
    EXPECT_GE(run.elapsedMs, 30000);
    EXPECT_EQ(prompter.promptsShown(), 1);
    EXPECT_EQ(keyring.isLocked(), false);
}

TEST_F(LockedKeyringTest, ADismissedPromptLeavesAStoredKeyLockedNotMissing) {
    StandInPrompter prompter(StandInPrompter::Answer::dismiss);
    ASSERT_TRUE(prompter.registerOn(keyring.connection()));

    const ChildRun run = runChild(QStringLiteral("all"));
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.readOutcome, locked);
    EXPECT_EQ(run.readStatus, int(SecretStatus::userCanceled));
    // Saving and removing need the same unlock, and fail the same way.
    EXPECT_EQ(run.saveStatus, int(SecretStatus::userCanceled));
    EXPECT_EQ(run.removeStatus, int(SecretStatus::userCanceled));
    EXPECT_EQ(prompter.promptsShown(), 3);
    EXPECT_EQ(keyring.isLocked(), true);
}

TEST_F(LockedKeyringTest, WithoutAPrompterAStoredKeyIsLockedNotMissing) {
    // Nobody owns the prompter's name on this bus and nothing can start one.
    const ChildRun run = runChild(QStringLiteral("read"));
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.readOutcome, locked);
    EXPECT_EQ(run.readStatus, int(SecretStatus::userCanceled));
    EXPECT_LT(run.elapsedMs, 10000);
    EXPECT_EQ(keyring.isLocked(), true);
}

TEST_F(LockedKeyringTest, AKeyThatIsNotStoredIsMissingWithoutAnyPrompt) {
    StandInPrompter prompter(StandInPrompter::Answer::dismiss);
    ASSERT_TRUE(prompter.registerOn(keyring.connection()));

    const ChildRun run = runChild(QStringLiteral("read"), QStringLiteral("another-account"));
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.readOutcome, notFound);
    EXPECT_EQ(prompter.promptsShown(), 0);
}
