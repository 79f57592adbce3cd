#include "AppModelHarness.h"
#include "FolderLock.h"
#include "X11TestClient.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <sys/stat.h>

#include <signal.h>

using namespace plimbo::test;

namespace {

// The program itself, with folders of its own (runtime, settings, data), so its single-instance
// socket and its files belong to this test alone.
class ProgramRuns {
public:
    ProgramRuns() {
        for (const char* folder : {"runtime", "config", "data", "cache"}) {
            QDir(m_root.path()).mkpath(QString::fromLatin1(folder));
        }
        QFile::setPermissions(m_root.filePath(QStringLiteral("runtime")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_environment = QProcessEnvironment::systemEnvironment();
        m_environment.insert(QStringLiteral("XDG_RUNTIME_DIR"),
                             m_root.filePath(QStringLiteral("runtime")));
        m_environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                             m_root.filePath(QStringLiteral("config")));
        m_environment.insert(QStringLiteral("XDG_DATA_HOME"),
                             m_root.filePath(QStringLiteral("data")));
        m_environment.insert(QStringLiteral("XDG_CACHE_HOME"),
                             m_root.filePath(QStringLiteral("cache")));
    }
    ~ProgramRuns() {
        for (const auto& process : m_processes) {
            if (process->state() != QProcess::NotRunning) {
                process->terminate();
                if (!process->waitForFinished(3000)) {
                    process->kill();
                    process->waitForFinished(3000);
                }
            }
        }
    }

    // `environment` changes the runs' own variables for this launch.
    QProcess& launch(const QStringList& arguments,
                     const QHash<QString, QString>& environment = {}) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment changed = m_environment;
        for (auto it = environment.begin(); it != environment.end(); ++it) {
            changed.insert(it.key(), it.value());
        }
        process->setProcessEnvironment(changed);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(QStringLiteral(PLIMBO_EXECUTABLE), arguments);
        m_processes.push_back(std::move(process));
        return *m_processes.back();
    }

    // A path inside the runs' own folder.
    QString path(const QString& relative) const { return m_root.filePath(relative); }

private:
    QTemporaryDir m_root;
    QProcessEnvironment m_environment;
    std::vector<std::unique_ptr<QProcess>> m_processes;
};

class PlimboApplicationTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!haveX11()) {
            GTEST_SKIP() << "needs an X server";
        }
        ASSERT_TRUE(x.usable());
    }

    std::optional<xcb_window_t> waitForWindow(const QProcess& process, const QString& title) {
        std::optional<xcb_window_t> window;
        (void)QTest::qWaitFor(
            [&] {
                window = x.topLevel(process.processId(), title);
                return window.has_value() || process.state() == QProcess::NotRunning;
            },
            10000);
        return window;
    }

    X11TestClient x;
    ProgramRuns runs;
};

} // namespace

TEST_F(PlimboApplicationTest, PreviewSwitchesOpenTheirWindow) {
    struct Case {
        const char* argument;
        QString title;
        QSize size;
    };
    for (const Case& c :
         {Case{"--show-menu-preview", QStringLiteral("Plimbo Menu Preview"), {372, 500}},
          Case{"--show-settings-preview", QStringLiteral("Plimbo Settings"), {820, 620}},
          Case{"--show-about", QStringLiteral("About Plimbo"), {820, 630}}}) {
        SCOPED_TRACE(c.argument);
        QProcess& program = runs.launch({QString::fromLatin1(c.argument)});
        ASSERT_TRUE(program.waitForStarted(5000));
        const std::optional<xcb_window_t> window = waitForWindow(program, c.title);
        ASSERT_TRUE(window.has_value());
        EXPECT_EQ(x.size(*window), c.size);
        program.terminate();
        EXPECT_TRUE(program.waitForFinished(5000));
    }
}

TEST_F(PlimboApplicationTest, ASecondLaunchHandsOverAndEnds) {
    QProcess& first = runs.launch({QStringLiteral("--show-about")});
    ASSERT_TRUE(waitForWindow(first, QStringLiteral("About Plimbo")).has_value());

    QProcess& second = runs.launch({});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
    // The running instance reopens: "--show-about" is no preview switch, so the dashboard comes.
    EXPECT_TRUE(waitForWindow(first, QStringLiteral("Plimbo")).has_value());
}

TEST_F(PlimboApplicationTest, TrayIconAppearsAndTheProgramOutlivesItsWindows) {
    if (QStandardPaths::findExecutable(QStringLiteral("trayer")).isEmpty()) {
        GTEST_SKIP() << "needs trayer as the tray host";
    }
    const xcb_atom_t traySelection = x.atom("_NET_SYSTEM_TRAY_S0");
    QProcess tray;
    tray.start(QStringLiteral("trayer"), QStringList());
    ASSERT_TRUE(tray.waitForStarted(5000));
    const bool trayReady = QTest::qWaitFor(
        [&] {
            std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> owner(
                xcb_get_selection_owner_reply(
                    x.connection(), xcb_get_selection_owner(x.connection(), traySelection),
                    nullptr),
                &std::free);
            return owner && owner->owner != XCB_NONE;
        },
        10000);
    auto stopTray = qScopeGuard([&] {
        tray.terminate();
        if (!tray.waitForFinished(3000)) {
            tray.kill();
            tray.waitForFinished(3000);
        }
    });
    ASSERT_TRUE(trayReady);

    QProcess& program = runs.launch({});
    ASSERT_TRUE(program.waitForStarted(5000));
    // The icon is a window of the program embedded in the tray: not a child of the root.
    const auto embeddedIcon = [&] {
        const QList<xcb_window_t> topLevels = x.children(x.root());
        for (xcb_window_t window : x.descendants(x.root())) {
            if (!topLevels.contains(window) &&
                x.cardinal(window, "_NET_WM_PID", XCB_ATOM_CARDINAL) == program.processId() &&
                x.hasProperty(window, "_XEMBED_INFO")) {
                return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(QTest::qWaitFor(embeddedIcon, 10000));

    // A second launch brings the dashboard; closing it leaves the program running.
    runs.launch({}).waitForFinished(10000);
    const std::optional<xcb_window_t> dashboard = waitForWindow(program, QStringLiteral("Plimbo"));
    ASSERT_TRUE(dashboard.has_value());
    x.requestClose(*dashboard);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !x.isViewable(*dashboard); }, 5000));
    QTest::qWait(500);
    EXPECT_EQ(program.state(), QProcess::Running);
}

TEST_F(PlimboApplicationTest, SessionSignalsQuitInOrder) {
    for (const int number : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(number);
        QProcess& program = runs.launch({QStringLiteral("--show-about")});
        ASSERT_TRUE(waitForWindow(program, QStringLiteral("About Plimbo")).has_value());
        ASSERT_EQ(::kill(static_cast<pid_t>(program.processId()), number), 0);
        ASSERT_TRUE(program.waitForFinished(3000));
        // Killed by the signal, the exit status would be a crash.
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
    }
}

// A start with another runtime folder (su, ssh -X, a shell without XDG_RUNTIME_DIR) misses the
// runtime folder's guard; the history's own lock still finds the running instance, which then
// reopens.
TEST_F(PlimboApplicationTest, AStartWithAnotherRuntimeFolderHandsOverToTheRunningInstance) {
    QProcess& first = runs.launch({QStringLiteral("--show-about")});
    ASSERT_TRUE(waitForWindow(first, QStringLiteral("About Plimbo")).has_value());

    ASSERT_TRUE(QDir().mkpath(runs.path(QStringLiteral("runtime-su"))));
    QProcess& second = runs.launch(
        {}, {{QStringLiteral("XDG_RUNTIME_DIR"), runs.path(QStringLiteral("runtime-su"))}});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
    EXPECT_TRUE(waitForWindow(first, QStringLiteral("Plimbo")).has_value());
}

// An instance that holds the history but cannot be reached: the new start ends with a message
// and leaves the folder as it was.
TEST_F(PlimboApplicationTest, AStartThatCannotReachTheHistorysHolderEndsAndWritesNothing) {
    const QString folder = runs.path(QStringLiteral("data/Plimbo"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QByteArray history = "[{\"broken\"";
    QFile file(folder + QStringLiteral("/AIChats.json"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(history), history.size());
    file.close();
    plimbo::FolderLock holder(folder + QStringLiteral("/AIChats.lock"));
    ASSERT_EQ(holder.claim(), plimbo::FolderLock::Result::acquired);
    holder.setNote(QFile::encodeName(runs.path(QStringLiteral("gone.socket"))));

    QProcess& second = runs.launch({});
    ASSERT_TRUE(second.waitForFinished(15000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 1);
    QStringList left =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    left.sort();
    EXPECT_EQ(left, (QStringList{QStringLiteral("AIChats.json"), QStringLiteral("AIChats.lock")}));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), history);
}

// A pipe in place of the settings file would block start-up for ever.
TEST_F(PlimboApplicationTest, APipeInPlaceOfTheSettingsFileDoesNotStopTheStart) {
    const QString settings = runs.path(QStringLiteral("config/Plimbo/Plimbo.conf"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(settings).path()));
    ASSERT_EQ(::mkfifo(QFile::encodeName(settings).constData(), 0600), 0);
    QProcess& program = runs.launch({QStringLiteral("--show-about")});
    const std::optional<xcb_window_t> window =
        waitForWindow(program, QStringLiteral("About Plimbo"));
    if (!window) {
        // Let a blocked read go on, so the program can be ended.
        QFile writer(settings);
        (void)writer.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    EXPECT_TRUE(window.has_value());
    struct stat info;
    ASSERT_EQ(::stat(QFile::encodeName(settings).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}
