// libFuzzer's entry for one target; PLIMBO_FUZZ_BODY names the body (see targets/).
#include "ChatHistoryFuzzTarget.h"
#include "DesktopEntryFuzzTarget.h"
#include "EventStreamFuzzTarget.h"
#include "MarkdownFuzzTarget.h"
#include "RedactorFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return plimbo::PLIMBO_FUZZ_BODY(data, size);
}
