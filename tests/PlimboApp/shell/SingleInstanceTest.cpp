#include "SingleInstance.h"

#include "AppModelHarness.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLocalServer>
#include <QLockFile>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QtConcurrent>

using namespace plimbo;
using namespace plimbo::test;

namespace {

// A later launch, on a thread of its own: it blocks while the running instance answers from
// this thread's event loop.
QFuture<SingleInstance::Role> launchAgain(const QString& directory, int timeoutMs = 3000) {
    return QtConcurrent::run([directory, timeoutMs] {
        SingleInstance later(directory, QStringLiteral("Plimbo-test"));
        return later.claim(timeoutMs);
    });
}

} // namespace

TEST(SingleInstanceTest, ALaterLaunchHandsOverToTheRunningInstance) {
    QTemporaryDir directory;
    SingleInstance running(directory.path(), QStringLiteral("Plimbo-test"));
    ASSERT_EQ(running.claim(), SingleInstance::Role::primary);
    QSignalSpy reopens(&running, &SingleInstance::reopenRequested);

    QFuture<SingleInstance::Role> later = launchAgain(directory.path());
    ASSERT_TRUE(settle([&] { return later.isFinished(); }));
    EXPECT_EQ(later.result(), SingleInstance::Role::handedOver);
    EXPECT_EQ(reopens.count(), 1);

    QFuture<SingleInstance::Role> third = launchAgain(directory.path());
    ASSERT_TRUE(settle([&] { return third.isFinished(); }));
    EXPECT_EQ(third.result(), SingleInstance::Role::handedOver);
    EXPECT_EQ(reopens.count(), 2);
}

TEST(SingleInstanceTest, AnInstanceThatDoesNotAnswerIsReportedNotReplaced) {
    QTemporaryDir directory;
    // Another live process holds the lock (this one, through a second lock object) but listens
    // nowhere.
    QLockFile held(directory.filePath(QStringLiteral("Plimbo-test.lock")));
    ASSERT_TRUE(held.tryLock(0));
    QFuture<SingleInstance::Role> later = launchAgain(directory.path(), 300);
    ASSERT_TRUE(settle([&] { return later.isFinished(); }));
    EXPECT_EQ(later.result(), SingleInstance::Role::unreachable);
}

TEST(SingleInstanceTest, LeftoversOfACrashedInstanceAreTakenOver) {
    QTemporaryDir directory;
    // The lock of a process that no longer exists, and its socket file.
    QFile lock(directory.filePath(QStringLiteral("Plimbo-test.lock")));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write(QByteArray("4194303\nplimbo\n") + QSysInfo::machineHostName().toUtf8() + "\n");
    lock.close();
    QFile socket(directory.filePath(QStringLiteral("Plimbo-test.socket")));
    ASSERT_TRUE(socket.open(QIODevice::WriteOnly));
    socket.close();

    SingleInstance running(directory.path(), QStringLiteral("Plimbo-test"));
    ASSERT_EQ(running.claim(), SingleInstance::Role::primary);
    QSignalSpy reopens(&running, &SingleInstance::reopenRequested);
    QFuture<SingleInstance::Role> later = launchAgain(directory.path());
    ASSERT_TRUE(settle([&] { return later.isFinished(); }));
    EXPECT_EQ(later.result(), SingleInstance::Role::handedOver);
    EXPECT_EQ(reopens.count(), 1);
}

TEST(SingleInstanceTest, NamesAreKeptPerUserInTheRuntimeFolder) {
    EXPECT_TRUE(SingleInstance::defaultName().startsWith(QStringLiteral("Plimbo-")));
    EXPECT_NE(SingleInstance::defaultName(), QStringLiteral("Plimbo-"));
    SingleInstance instance(QStringLiteral("/run/user/1000"), QStringLiteral("Plimbo-1000"));
    EXPECT_EQ(instance.socketPath(), QStringLiteral("/run/user/1000/Plimbo-1000.socket"));
    EXPECT_EQ(instance.lockPath(), QStringLiteral("/run/user/1000/Plimbo-1000.lock"));
}
