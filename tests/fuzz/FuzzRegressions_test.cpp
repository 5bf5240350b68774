// Every saved fuzzer finding and every seed input replays cleanly through the
// entry point of its reader (under the sanitizer build this is where a
// regression shows as a report rather than a wrong result).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "CaptureOutput.h"
#include "FuzzEntries.h"
#include "TestFiles.h"

namespace {

// Replays every file of root/<target>/ through the target's entry point; how many there were
// (none when there is no such folder).
int replay(const std::string& root, const FuzzTarget& target) {
    std::error_code none;
    int replayed = 0;
    for (const auto& file : std::filesystem::directory_iterator(root + "/" + target.name, none)) {
        const std::string bytes = readFile(file.path());
        SCOPED_TRACE(file.path().string());
        captureOutput([&] {
            EXPECT_EQ(target.entry(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()),
                      0);
        });
        ++replayed;
    }
    return replayed;
}

}  // namespace

// Seeds for every reader, saved findings for some.
TEST(FuzzRegressions, SavedFindingsAndSeedInputsReplayCleanly) {
    int findings = 0;
    for (const FuzzTarget& target : FUZZ_TARGETS) {
        EXPECT_GT(replay(TOVASK_SOURCE_DIR "/fuzz/corpus", target), 0)
            << target.name << ": no seeds";
        findings += replay(TOVASK_SOURCE_DIR "/tests/regressions", target);
    }
    EXPECT_GT(findings, 0);
}
