#pragma once

#include "ModuleHealth.h"
#include "ModuleManifest.h"
#include "ModuleResourceSnapshot.h"

#include <QList>
#include <QMetaType>

namespace plimbo {

// What the registry keeps per module and the views display.
struct ModuleRecord {
    ModuleManifest manifest;
    bool isEnabled = false;
    ModuleHealth health;
    ModuleResourceSnapshot resourceUsage;

    QString id() const { return manifest.id; }

    bool operator==(const ModuleRecord&) const = default;
};

} // namespace plimbo

Q_DECLARE_METATYPE(plimbo::ModuleRecord)
