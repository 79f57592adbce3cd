#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace plimbo {

// The [Desktop Entry] group of one .desktop file, values already unescaped. Name is the best
// match for the reader's locale.
struct DesktopEntry {
    // Desktop-file id: the path below the applications folder, '/' replaced by '-'.
    QString id;
    // Where the file lives.
    QString path;
    QString type;
    QString name;
    QString exec;
    QString tryExec;
    QString icon;
    // The Path key: working folder for the program.
    QString workingDirectory;
    // Desktop names (as in XDG_CURRENT_DESKTOP) the entry is meant for, or not meant for. An
    // OnlyShowIn that is present but empty means no desktop at all.
    std::optional<QStringList> onlyShowIn;
    QStringList notShowIn;
    bool hidden = false;
    bool noDisplay = false;
    bool terminal = false;

    bool operator==(const DesktopEntry&) const = default;
};

} // namespace plimbo
