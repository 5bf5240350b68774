// What a call prints on stdout and stderr, captured at the file descriptors for a test to check.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

// Between captureStdout() and capturedStdout() whatever the process writes to
// standard output (C stdio or the descriptor itself) goes to a scratch file;
// capturedStdout() puts the stream back and returns the text. Likewise for
// standard error. One capture of each stream at a time.
struct StreamCapture {
    int fd;
    std::FILE* stream;
    int saved = -1;                // the stream's own descriptor while captured
    std::FILE* scratch = nullptr;  // where it goes meanwhile

    void begin() {
        std::fflush(stream);
        scratch = std::tmpfile();
        saved = dup(fd);
        if (!scratch || saved < 0 || dup2(fileno(scratch), fd) < 0) {
            std::perror("capturing a console stream");
            std::abort();
        }
    }
    std::string end() {
        if (!scratch) return "";
        std::fflush(stream);
        dup2(saved, fd);
        close(saved);
        std::string text;
        std::rewind(scratch);
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, scratch)) > 0;)
            text.append(buffer, n);
        std::fclose(scratch);
        scratch = nullptr;
        return text;
    }
};

inline StreamCapture stdoutCapture{STDOUT_FILENO, stdout}, stderrCapture{STDERR_FILENO, stderr};
inline void captureStdout() {
    stdoutCapture.begin();
}
inline std::string capturedStdout() {
    return stdoutCapture.end();
}
inline void captureStderr() {
    stderrCapture.begin();
}
inline std::string capturedStderr() {
    return stderrCapture.end();
}

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
