#pragma once

#include <QString>
#include <QtGlobal>

namespace plimbo {

// What background work a module has live right now.
struct ModuleResourceSnapshot {
    qint64 activeTasks = 0;
    QString detail;

    // The value the registry shows for a module that is not running: 0, "Idle".
    static ModuleResourceSnapshot idle() { return {0, QStringLiteral("Idle")}; }

    bool operator==(const ModuleResourceSnapshot&) const = default;
};

} // namespace plimbo
