// The test programs' entry: GoogleTest's, with the rule every program of ours
// keeps: --help prints the usage, an unknown option prints it on stderr and
// ends with status 2 before any test runs.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

int main(int argc, char** argv) {
    // Takes out the options GoogleTest knows but its help, which it prints
    // here; no test runs then.
    testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] != '-' || std::strcmp(argv[i], "--help") == 0 ||
            std::strcmp(argv[i], "-h") == 0)
            continue;
        std::fprintf(stderr,
                     "%s: unknown option %s\n"
                     "usage: %s [--gtest_filter=PATTERN] [--gtest_repeat=N] [OPTION]...\n"
                     "       (--help lists every option)\n",
                     argv[0], argv[i], argv[0]);
        return 2;
    }
    const int result = RUN_ALL_TESTS();
#if defined(__SANITIZE_ADDRESS__)
    // The leak check now, with every library still loaded. The game's start-up
    // registers SDL_Quit to run at exit, which unloads the GL driver before the
    // sanitizer's own check; a block the driver keeps would then name no module
    // a suppression can match, and whether the driver keeps one depends on the
    // machine. Once run, the check at exit does nothing more.
    __lsan_do_leak_check();
#endif
    return result;
}
