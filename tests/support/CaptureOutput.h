// What a call prints on stdout and stderr, captured at the file descriptors for a test to check.
#pragma once

#include <gtest/gtest.h>

#include <string>

// Between captureStdout() and capturedStdout() whatever the process writes to
// standard output (C stdio or the descriptor itself) goes to a scratch file;
// capturedStdout() puts the stream back and returns the text. Likewise for
// standard error. One capture of each stream at a time: GoogleTest's own.
inline constexpr auto& captureStdout = testing::internal::CaptureStdout;
inline constexpr auto& capturedStdout = testing::internal::GetCapturedStdout;
inline constexpr auto& captureStderr = testing::internal::CaptureStderr;
inline constexpr auto& capturedStderr = testing::internal::GetCapturedStderr;

struct Output {
    std::string out, err;
};

// Runs call with stdout and stderr captured.
template <typename Call>
Output captureOutput(Call call) {
    captureStdout();
    captureStderr();
    call();
    Output o;
    o.err = capturedStderr();
    o.out = capturedStdout();
    return o;
}

// True when text is before, a source line number (no leading zero), then after.
inline bool isWithLineNumber(const std::string& text, const std::string& before,
                             const std::string& after) {
    const size_t digits = text.size() - before.size() - after.size();
    return text.size() > before.size() + after.size() && text.rfind(before, 0) == 0 &&
           text.compare(before.size() + digits, after.size(), after) == 0 &&
           text[before.size()] != '0' &&
           text.substr(before.size(), digits).find_first_not_of("0123456789") == std::string::npos;
}
