// libFuzzer driver: TOVASK_FUZZ_ENTRY names the entry point this binary runs.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "FuzzEntries.h"

// libFuzzer's own flags are -name=value; a --word is ours. --help prints the
// usage, any other --word prints it on stderr and ends with status 2 before
// any input is read or written.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    for (int i = 1; i < *argc; ++i) {
        const char* arg = (*argv)[i];
        if (std::strncmp(arg, "--", 2) != 0) continue;
        const bool help = std::strcmp(arg, "--help") == 0;
        std::FILE* out = help ? stdout : stderr;
        if (!help) std::fprintf(out, "%s: unknown option %s\n", (*argv)[0], arg);
        std::fprintf(out,
                     "usage: %s [-FLAG=VALUE]... [CORPUS_FOLDER | INPUT_FILE]...\n"
                     "A libFuzzer program (-help=1 lists its flags); scripts/fuzz.sh runs it.\n",
                     (*argv)[0]);
        std::exit(help ? 0 : 2);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return TOVASK_FUZZ_ENTRY(data, size);
}
