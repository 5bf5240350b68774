// Every saved fuzzer finding and every seed input replays cleanly through the
// entry point of its reader (under the sanitizer build this is where a
// regression shows as a report rather than a wrong result).
#include <dirent.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FuzzEntries.h"
#include "TestFiles.h"

namespace {

const char* const TARGETS[] = {"tds",          "animation",   "settings",
                               "contentlists", "description", "image"};

std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> files;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return files;
    while (const dirent* e = readdir(dir))
        if (e->d_name[0] != '.') files.push_back(folder + "/" + e->d_name);
    closedir(dir);
    return files;
}

// Replays every file of root/<target>/ and returns how many there were.
int replayAll(const std::string& root) {
    int replayed = 0;
    for (const char* target : TARGETS) {
        const FuzzEntry entry = fuzzEntryNamed(target);
        EXPECT_NE(entry, nullptr) << target;
        if (!entry) continue;
        for (const std::string& path : filesIn(root + "/" + target)) {
            const std::string bytes = readFile(path);
            SCOPED_TRACE(path);
            testing::internal::CaptureStdout();
            testing::internal::CaptureStderr();
            const int result = entry(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
            testing::internal::GetCapturedStderr();
            testing::internal::GetCapturedStdout();
            EXPECT_EQ(result, 0);
            ++replayed;
        }
    }
    return replayed;
}

}  // namespace

TEST(FuzzRegressions, SavedFindingsReplayCleanly) {
    EXPECT_GT(replayAll(std::string(TOVASK_SOURCE_DIR) + "/tests/regressions"), 0);
}

TEST(FuzzRegressions, SeedInputsOfEveryReaderReplayCleanly) {
    const std::string root = std::string(TOVASK_SOURCE_DIR) + "/fuzz/corpus";
    for (const char* target : TARGETS)
        EXPECT_FALSE(filesIn(root + "/" + target).empty()) << "no seeds for " << target;
    replayAll(root);
}

TEST(FuzzRegressions, MultiFileInputsSplitAtEverySeparatorLine) {
    const std::string text = std::string("a") + PART_SEPARATOR + PART_SEPARATOR + "b";
    const std::vector<std::string> parts =
        splitParts(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    EXPECT_EQ(parts, (std::vector<std::string>{"a", "", "b"}));
}
