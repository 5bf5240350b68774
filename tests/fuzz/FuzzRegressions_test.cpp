// Every saved fuzzer finding and every seed input replays cleanly through the
// entry point of its reader (under the sanitizer build this is where a
// regression shows as a report rather than a wrong result).
#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>
#include <string>

#include "CaptureOutput.h"
#include "FuzzEntries.h"
#include "TestFiles.h"

namespace {

// Replays every file of root/<target>/ for every target and returns how many
// there were of each, in target order.
std::vector<int> replayAll(const std::string& root) {
    std::vector<int> replayed;
    for (const char* target :
         {"tds", "animation", "settings", "contentlists", "description", "image"}) {
        const FuzzEntry entry = fuzzEntryNamed(target);
        EXPECT_NE(entry, nullptr) << target;
        replayed.push_back(0);
        const std::filesystem::path folder = root + "/" + target;
        if (!entry || !std::filesystem::is_directory(folder)) continue;
        for (const auto& file : std::filesystem::directory_iterator(folder)) {
            const std::string bytes = readFile(file.path());
            SCOPED_TRACE(file.path().string());
            captureOutput([&] {
                EXPECT_EQ(entry(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), 0);
            });
            ++replayed.back();
        }
    }
    return replayed;
}

}  // namespace

// Saved findings are there for some readers, seeds for every one.
TEST(FuzzRegressions, SavedFindingsAndSeedInputsReplayCleanly) {
    const std::vector<int> findings = replayAll(TOVASK_SOURCE_DIR "/tests/regressions");
    EXPECT_GT(std::accumulate(findings.begin(), findings.end(), 0), 0);
    for (int n : replayAll(TOVASK_SOURCE_DIR "/fuzz/corpus"))
        EXPECT_GT(n, 0) << "a reader without seeds";
}

TEST(FuzzRegressions, MultiFileInputsSplitAtEverySeparatorLine) {
    const std::string text = std::string("a") + PART_SEPARATOR + PART_SEPARATOR + "b";
    EXPECT_EQ(splitParts(reinterpret_cast<const uint8_t*>(text.data()), text.size()),
              (std::vector<std::string>{"a", "", "b"}));
}
