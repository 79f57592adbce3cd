#pragma once

#include "ModuleHealth.h"
#include "ModuleManifest.h"
#include "ModuleResourceSnapshot.h"

#include <QFuture>

namespace plimbo {

// Contract of a switchable module. Everything is called on the main thread. The futures of
// start(), stop() and healthCheck() finish on the main thread too and never fail. start() may
// arrive while the module already runs; the module then keeps a single instance of its work.
class PlimboModule {
public:
    virtual ~PlimboModule() = default;

    // The id must stay the same for the module's lifetime.
    virtual ModuleManifest manifest() const = 0;
    // The module's own running flag, for its views; the registry never reads it.
    virtual bool isRunning() const = 0;
    // Finishes once the background work is set up.
    virtual QFuture<void> start() = 0;
    virtual QFuture<void> stop() = 0;
    virtual QFuture<ModuleHealth> healthCheck() = 0;
    // Called right after each health check; must be cheap.
    virtual ModuleResourceSnapshot resourceUsageSnapshot() = 0;
};

} // namespace plimbo
