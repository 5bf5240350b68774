// What a call prints on stdout and stderr, captured at the file descriptors for a test to check.
#pragma once

#include <cctype>
#include <string>

// Between captureStdout() and capturedStdout() whatever the process writes to
// standard output (C stdio or the descriptor itself) goes to a scratch file;
// capturedStdout() puts the stream back and returns the text. Likewise for
// standard error. One capture of each stream at a time.
void captureStdout();
std::string capturedStdout();
void captureStderr();
std::string capturedStderr();

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
    if (text.size() <= before.size() + after.size() ||
        text.compare(0, before.size(), before) != 0 ||
        text.compare(text.size() - after.size(), after.size(), after) != 0)
        return false;
    const std::string number =
        text.substr(before.size(), text.size() - before.size() - after.size());
    if (number[0] == '0') return false;
    for (char c : number)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}
