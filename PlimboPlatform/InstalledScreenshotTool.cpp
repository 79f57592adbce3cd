#include "InstalledScreenshotTool.h"

#include <QProcess>
#include <QStandardPaths>

namespace plimbo {

InstalledScreenshotTool::InstalledScreenshotTool()
    : InstalledScreenshotTool(
          [](const QString& name) { return QStandardPaths::findExecutable(name); },
          [](const LaunchCommand& command) {
              return QProcess::startDetached(command.program, command.arguments,
                                             command.workingDirectory);
          }) {}

InstalledScreenshotTool::InstalledScreenshotTool(ExecutableFinder findExecutable,
                                                 ProcessStarter startProcess)
    : m_findExecutable(std::move(findExecutable))
    , m_startProcess(std::move(startProcess)) {}

QList<LaunchCommand> InstalledScreenshotTool::candidates() {
    return {
        {QStringLiteral("gnome-screenshot"), {QStringLiteral("--interactive")}, {}},
        {QStringLiteral("spectacle"), {}, {}},
        {QStringLiteral("xfce4-screenshooter"), {}, {}},
        {QStringLiteral("flameshot"), {QStringLiteral("gui")}, {}},
    };
}

std::optional<LaunchCommand>
InstalledScreenshotTool::firstInstalled(const ExecutableFinder& findExecutable) {
    for (LaunchCommand command : candidates()) {
        const QString path = findExecutable(command.program);
        if (!path.isEmpty()) {
            command.program = path;
            return command;
        }
    }
    return std::nullopt;
}

ScreenshotTool::OpenResult InstalledScreenshotTool::open() {
    const std::optional<LaunchCommand> command = firstInstalled(m_findExecutable);
    if (!command) {
        return OpenResult::notInstalled;
    }
    return m_startProcess(*command) ? OpenResult::opened : OpenResult::failedToStart;
}

} // namespace plimbo
