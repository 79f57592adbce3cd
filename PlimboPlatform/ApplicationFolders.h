#pragma once

#include "DesktopEntry.h"

#include <QList>
#include <QString>

namespace plimbo {

// The installed applications the desktop lists, and a way to start one.
class ApplicationFolders {
public:
    virtual ~ApplicationFolders() = default;

    // Every application entry the launcher may list, in scan order. Runs on a worker thread,
    // so implementations keep no unguarded mutable state.
    virtual QList<DesktopEntry> scan() const = 0;
    // Starts the application described by the entry file at entryPath (a path scan()
    // returned); false when it cannot be started. Main thread.
    virtual bool launch(const QString& entryPath) = 0;
};

} // namespace plimbo
