// The triangle-rate report.
#include "FrameStats.h"

#include <gtest/gtest.h>

#include <string>

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

TEST(FrameStatsTest, ExactlyOneSecondIsNotYetAReport) {
    FrameStats stats;
    EXPECT_EQ(frame(stats, 10, 1000), "");
    EXPECT_EQ(frame(stats, 10, 1), "Actual triangles : 19/sec 10/frame\n");
}

TEST(FrameStatsTest, EmptyFramesLowerThePerFrameFigure) {
    FrameStats stats;
    frame(stats, 3000, 500);
    frame(stats, 0, 500);
    EXPECT_EQ(frame(stats, 0, 500), "Actual triangles : 2000/sec 1000/frame\n");
}

TEST(FrameStatsTest, ReportWithoutAClosedFrameDoesNotDivideByZero) {
    FrameStats stats;
    stats.addTriangles(500);
    CaptureStdout();
    stats.reportTriangles(1500);
    EXPECT_EQ(GetCapturedStdout(), "Actual triangles : 0/sec 0/frame\n");
}

TEST(FrameStatsTest, HighRatesDoNotOverflow) {
    FrameStats stats;
    EXPECT_EQ(frame(stats, 5000000, 1001), "Actual triangles : 4995004/sec 5000000/frame\n");
}

}  // namespace
