// The test programs' entry: GoogleTest's, with the rule every program of ours
// keeps: --help prints the usage, an unknown option prints it on stderr and
// ends with status 2 before any test runs.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

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
    return RUN_ALL_TESTS();
}
