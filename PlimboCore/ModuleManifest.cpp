#include "ModuleManifest.h"

namespace plimbo {

size_t qHash(const ModuleManifest& manifest, size_t seed) noexcept {
    return qHashMulti(seed, manifest.id, manifest.name, manifest.summary, manifest.symbol,
                      static_cast<int>(manifest.capability), manifest.isPhaseOne);
}

} // namespace plimbo
