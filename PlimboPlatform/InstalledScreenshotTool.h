#pragma once

#include "LaunchCommand.h"
#include "ScreenshotTool.h"

#include <QList>

#include <functional>
#include <optional>

namespace plimbo {

// The first installed of GNOME Screenshot, Spectacle, the Xfce screenshooter and Flameshot,
// found on PATH and started directly (never through a shell).
class InstalledScreenshotTool final : public ScreenshotTool {
public:
    // Full path of an installed program; empty when there is none.
    using ExecutableFinder = std::function<QString(const QString& name)>;
    // Starts the command detached; false when it could not be started.
    using ProcessStarter = std::function<bool(const LaunchCommand& command)>;

    InstalledScreenshotTool();
    InstalledScreenshotTool(ExecutableFinder findExecutable, ProcessStarter startProcess);

    OpenResult open() override;

    // The programs tried, in order, by name, each with the arguments that open its capture
    // controls.
    static QList<LaunchCommand> candidates();
    // The first candidate installed, with its program resolved to a full path.
    static std::optional<LaunchCommand> firstInstalled(const ExecutableFinder& findExecutable);

private:
    ExecutableFinder m_findExecutable;
    ProcessStarter m_startProcess;
};

} // namespace plimbo
