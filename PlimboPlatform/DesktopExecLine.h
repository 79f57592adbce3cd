#pragma once

#include "DesktopEntry.h"
#include "LaunchCommand.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace plimbo {

// Turns an entry's Exec value into a command by the desktop-entry rules: double quotes group,
// backslash escapes " ` $ \ inside them, and field codes are expanded for a launch with no
// files. Shell metacharacters have no meaning here: they reach the program as literal text.
class DesktopExecLine {
public:
    // Splits an (already unescaped) Exec value into arguments; none when a quote is left open.
    static std::optional<QStringList> split(const QString& exec);
    // %f %F %u %U (and the deprecated %d %D %n %N %v %m) vanish, %i gives "--icon" and the Icon
    // value (nothing without an icon), %c the name, %k the entry's file, %% a percent sign.
    // An argument that held only vanished codes is dropped entirely.
    static QStringList expandFieldCodes(const QStringList& arguments, const DesktopEntry& entry);
    // The whole command; Terminal=true entries run inside terminalProgram with "-e". None when
    // the Exec value is empty or malformed.
    static std::optional<LaunchCommand>
    command(const DesktopEntry& entry,
            const QString& terminalProgram = QStringLiteral("x-terminal-emulator"));
};

} // namespace plimbo
