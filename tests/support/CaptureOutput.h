// What a call prints on stdout and stderr, captured for a test to check or swallow.
#pragma once

#include <gtest/gtest.h>

#include <string>

struct Output {
    std::string out, err;
};

// Runs call with stdout and stderr captured.
template <typename Call>
Output captureOutput(Call call) {
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    call();
    Output o;
    o.err = ::testing::internal::GetCapturedStderr();
    o.out = ::testing::internal::GetCapturedStdout();
    return o;
}
