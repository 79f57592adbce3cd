#include "InstalledScreenshotTool.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace plimbo;

namespace {

// A folder standing in for PATH, holding the programs a test installs.
class FakePath {
public:
    QString install(const QString& name, const QByteArray& script = "#!/bin/sh\nexit 0\n",
                    bool executable = true) {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(script);
        file.close();
        QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
        if (executable) {
            permissions |= QFile::ExeOwner;
        }
        file.setPermissions(permissions);
        return path;
    }

    QString folder() const { return m_dir.path(); }

    InstalledScreenshotTool::ExecutableFinder finder() const {
        return [dir = m_dir.path()](const QString& name) {
            return QStandardPaths::findExecutable(name, {dir});
        };
    }

private:
    QTemporaryDir m_dir;
};

TEST(InstalledScreenshotTool, TheFirstInstalledProgramInOrderIsChosen) {
    FakePath path;
    EXPECT_FALSE(InstalledScreenshotTool::firstInstalled(path.finder()));

    const QString flameshot = path.install("flameshot");
    EXPECT_EQ(InstalledScreenshotTool::firstInstalled(path.finder()),
              (LaunchCommand{flameshot, {"gui"}, {}}));

    const QString spectacle = path.install("spectacle");
    EXPECT_EQ(InstalledScreenshotTool::firstInstalled(path.finder()),
              (LaunchCommand{spectacle, {}, {}}));

    // A file that cannot be run is not an installed program.
    path.install("gnome-screenshot", "#!/bin/sh\n", false);
    EXPECT_EQ(InstalledScreenshotTool::firstInstalled(path.finder())->program, spectacle);

    const QString xfce = path.install("xfce4-screenshooter");
    EXPECT_EQ(InstalledScreenshotTool::firstInstalled(path.finder())->program, spectacle);

    const QString gnome = path.install("gnome-screenshot");
    EXPECT_EQ(InstalledScreenshotTool::firstInstalled(path.finder()),
              (LaunchCommand{gnome, {"--interactive"}, {}}));
}

TEST(InstalledScreenshotTool, OpenReportsMissingAndFailedStarts) {
    FakePath path;
    QList<LaunchCommand> started;
    bool startWorks = true;
    InstalledScreenshotTool tool(path.finder(), [&](const LaunchCommand& command) {
        started << command;
        return startWorks;
    });

    EXPECT_EQ(tool.open(), ScreenshotTool::OpenResult::notInstalled);
    EXPECT_TRUE(started.isEmpty());

    const QString xfce = path.install("xfce4-screenshooter");
    EXPECT_EQ(tool.open(), ScreenshotTool::OpenResult::opened);
    startWorks = false;
    EXPECT_EQ(tool.open(), ScreenshotTool::OpenResult::failedToStart);
    EXPECT_EQ(started, (QList<LaunchCommand>{{xfce, {}, {}}, {xfce, {}, {}}}));
}

TEST(InstalledScreenshotTool, StartsTheProgramFromPathWithoutAShell) {
    FakePath path;
    QTemporaryDir out;
    const QString marker = out.filePath("args");
    // Records the arguments it was started with.
    path.install("flameshot", "#!/bin/sh\nprintf '%s|' \"$@\" > '" + marker.toUtf8() + "'\n");

    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", path.folder().toUtf8());
    InstalledScreenshotTool tool;
    const ScreenshotTool::OpenResult result = tool.open();
    qputenv("PATH", savedPath);

    ASSERT_EQ(result, ScreenshotTool::OpenResult::opened);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile(marker).size() > 0; }, 5000));
    QFile file(marker);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "gui|");
}

} // namespace
