// The benchmarks' entry: Google Benchmark's, with the rule every program of
// ours keeps: --help prints the usage, an unknown option prints it on stderr
// and ends with status 2 before anything runs.
#include <benchmark/benchmark.h>

#include <cstdio>

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);  // --help prints every option and ends the program
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        std::fprintf(stderr,
                     "usage: %s [--benchmark_filter=REGEX] [--benchmark_repetitions=N] "
                     "[OPTION]...\n       (--help lists every option)\n",
                     argv[0]);
        return 2;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
