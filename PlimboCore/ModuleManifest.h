#pragma once

#include "PlimboCapabilityStatus.h"

#include <QHashFunctions>
#include <QString>

namespace plimbo {

// Static description of one module; `id` is stable for the module's lifetime.
struct ModuleManifest {
    QString id;
    QString name;
    QString summary;
    QString symbol;
    PlimboCapabilityStatus capability = PlimboCapabilityStatus::available;
    bool isPhaseOne = false;

    bool operator==(const ModuleManifest&) const = default;
};

size_t qHash(const ModuleManifest& manifest, size_t seed = 0) noexcept;

} // namespace plimbo
