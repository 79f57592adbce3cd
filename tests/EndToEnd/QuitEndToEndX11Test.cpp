#include "FakeOpenRouterServer.h"
#include "RunningPlimbo.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace plimbo::test;

namespace {

// A quit while the history is still being read (a slow disk) ends the process at once: it
// does not wait for the read with its windows gone and its single-instance lock let go.
TEST(QuitEndToEndX11Test, AQuitDuringTheHistoryReadEndsTheProgramAtOnce) {
    FakeOpenRouterServer server;
    RunningPlimbo app(server.baseUrl());
    const QByteArray history = "[]";
    ASSERT_TRUE(QDir().mkpath(QFileInfo(app.historyPath()).path()));
    QFile file(app.historyPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(history), history.size());
    file.close();

    // Longer than stop() waits before it kills the program.
    ASSERT_TRUE(app.start({QStringLiteral("--history-read-delay-ms=60000")}))
        << app.output().toStdString();
    EXPECT_TRUE(app.stop()) << app.output().toStdString();
    EXPECT_FALSE(app.isRunning());
    QFile reread(app.historyPath());
    ASSERT_TRUE(reread.open(QIODevice::ReadOnly));
    EXPECT_EQ(reread.readAll(), history);
}

} // namespace
