#pragma once

#include <cstddef>
#include <cstdint>

namespace plimbo {

// A streamed chat answer taken the way OpenRouterStream takes it: bytes arrive in pieces, the
// splitter cuts lines, the parser classifies them and every data payload is decoded as a
// chunk. The first input byte chooses where the body is cut into pieces; the rest is the body.
// Checks that the cut points never change the lines.
int fuzzEventStream(const uint8_t* data, size_t size);

} // namespace plimbo
