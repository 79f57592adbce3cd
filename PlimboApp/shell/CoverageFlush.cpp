#include "CoverageFlush.h"

#ifdef PLIMBO_COVERAGE
#include <signal.h>

extern "C" void __gcov_dump(void);
#endif

namespace plimbo {

#ifdef PLIMBO_COVERAGE
namespace {

void dumpAndTerminate(int number) {
    __gcov_dump();
    // Ended by the same signal as before, so whoever waits on us sees no difference.
    ::signal(number, SIG_DFL);
    ::raise(number);
}

} // namespace
#endif

void flushCoverageOnTerminate() {
#ifdef PLIMBO_COVERAGE
    struct sigaction action = {};
    action.sa_handler = dumpAndTerminate;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
#endif
}

} // namespace plimbo
