#pragma once

namespace plimbo {

// In a coverage build (PLIMBO_COVERAGE), SIGTERM first writes the gcov counters and then ends
// the program as the default action would, so runs ended that way (the end-to-end and X11
// tests) count too. In any other build this does nothing and SIGTERM works as always.
void flushCoverageOnTerminate();

} // namespace plimbo
