// The triangle-rate report.
#include "FrameStats.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

// One frame of `triangles`, reported with `ms`; returns what was printed.
std::string frame(FrameStats& stats, int triangles, int ms) {
    stats.addTriangles(triangles);
    stats.endFrame();
    CaptureStdout();
    stats.reportTriangles(ms);
    return GetCapturedStdout();
}

TEST(FrameStatsTest, ReportsWithTheCallThatPassesOneSecond) {
    FrameStats stats;
    std::string printed;
    for (int call = 1; call <= 47; ++call) printed += frame(stats, 2000, 21);
    EXPECT_EQ(printed, "");  // 987 ms so far
    EXPECT_EQ(frame(stats, 2000, 21), "Actual triangles : 95238/sec 2000/frame\n");
    EXPECT_EQ(stats.elapsed, 0);
    EXPECT_EQ(stats.frames, 0);
    EXPECT_EQ(stats.trianglesAccumulated, 0);
}

TEST(FrameStatsTest, RatesOfShortSequences) {
    struct Frame {
        int triangles, ms;
    };
    struct Case {
        const char* what;
        std::vector<Frame> frames;
        std::string report;  // printed by the last frame; none before it
    };
    const Case cases[] = {
        {"exactly one second is not yet a report",
         {{10, 1000}, {10, 1}},
         "Actual triangles : 19/sec 10/frame\n"},
        {"empty frames lower the per-frame figure",
         {{3000, 500}, {0, 500}, {0, 500}},
         "Actual triangles : 2000/sec 1000/frame\n"},
        {"high rates do not overflow",
         {{5000000, 1001}},
         "Actual triangles : 4995004/sec 5000000/frame\n"},
    };
    for (const Case& c : cases) {
        FrameStats stats;
        for (size_t i = 0; i + 1 < c.frames.size(); ++i)
            EXPECT_EQ(frame(stats, c.frames[i].triangles, c.frames[i].ms), "") << c.what;
        EXPECT_EQ(frame(stats, c.frames.back().triangles, c.frames.back().ms), c.report) << c.what;
    }
    FrameStats open;  // a report without a closed frame does not divide by zero
    open.addTriangles(500);
    CaptureStdout();
    open.reportTriangles(1500);
    EXPECT_EQ(GetCapturedStdout(), "Actual triangles : 0/sec 0/frame\n");
}

}  // namespace
