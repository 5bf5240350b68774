// What a call prints on stdout and stderr, captured for a test to check or swallow.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
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

// True when text is before, a source line number (no leading zero), then after.
inline bool isWithLineNumber(const std::string& text, const std::string& before,
                             const std::string& after) {
    if (text.size() <= before.size() + after.size() || text.compare(0, before.size(), before) != 0 ||
        text.compare(text.size() - after.size(), after.size(), after) != 0)
        return false;
    const std::string number = text.substr(before.size(), text.size() - before.size() - after.size());
    if (number[0] == '0') return false;
    for (char c : number)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}
