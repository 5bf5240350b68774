// libFuzzer driver: TOVASK_FUZZ_ENTRY names the entry point this binary runs.
#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return TOVASK_FUZZ_ENTRY(data, size);
}
