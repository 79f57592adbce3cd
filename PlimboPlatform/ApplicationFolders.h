#pragma once

#include "DesktopEntry.h"

#include <QList>
#include <QString>

namespace plimbo {

// What became of a request to start an application.
struct ApplicationLaunch {
    bool started = false;
    // The program the entry names (its Exec's first word); empty when the entry could not be
    // read at all.
    QString program;
};

// The installed applications the desktop lists, and a way to start one.
class ApplicationFolders {
public:
    virtual ~ApplicationFolders() = default;

    // Every application entry the launcher may list, in scan order. Runs on a worker thread,
    // so implementations keep no unguarded mutable state.
    virtual QList<DesktopEntry> scan() const = 0;
    // Starts the application described by the entry file at entryPath (a path scan()
    // returned). Main thread.
    virtual ApplicationLaunch launch(const QString& entryPath) = 0;
};

} // namespace plimbo
