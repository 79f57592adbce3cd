#pragma once

#include <cstddef>
#include <cstdint>

namespace plimbo {

// A .desktop file through DesktopEntryParser, and a parsed entry's Exec value through
// DesktopExecLine's splitting, field-code expansion and command building.
int fuzzDesktopEntry(const uint8_t* data, size_t size);

} // namespace plimbo
