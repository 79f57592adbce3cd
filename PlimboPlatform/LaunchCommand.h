#pragma once

#include <QString>
#include <QStringList>

namespace plimbo {

// A program and its arguments, started directly (never through a shell).
struct LaunchCommand {
    QString program;
    QStringList arguments;
    // Empty: the caller's working folder.
    QString workingDirectory;

    bool operator==(const LaunchCommand&) const = default;
};

} // namespace plimbo
