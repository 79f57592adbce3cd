#pragma once

#include <cstdio>
#include <cstdlib>

namespace plimbo {

// A property the code under test promised and broke: abort so libFuzzer (and the regression
// suite, whose process dies) report the input. A plain assert would vanish in release builds.
inline void fuzzCheck(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "fuzz check failed: %s\n", property);
        std::fflush(stderr);
        std::abort();
    }
}

} // namespace plimbo
