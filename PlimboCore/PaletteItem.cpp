#include "PaletteItem.h"

namespace plimbo {

size_t qHash(const PaletteItem& item, size_t seed) noexcept {
    return qHashMulti(seed, item.id, static_cast<int>(item.kind), item.title, item.subtitle,
                      item.symbol, qHash(item.action), item.score);
}

} // namespace plimbo
