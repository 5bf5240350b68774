// Capturing standard output and error at their descriptors, through a scratch file.
#include "CaptureOutput.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

struct Capture {
    int saved = -1;                // the stream's own descriptor while captured
    std::FILE* scratch = nullptr;  // where it goes meanwhile
};

Capture captures[3];  // indexed by descriptor: 1 stdout, 2 stderr

void begin(int fd, std::FILE* stream) {
    Capture& c = captures[fd];
    std::fflush(stream);
    c.scratch = std::tmpfile();
    c.saved = dup(fd);
    if (!c.scratch || c.saved < 0 || dup2(fileno(c.scratch), fd) < 0) {
        std::perror("capturing a console stream");
        std::abort();
    }
}

std::string end(int fd, std::FILE* stream) {
    Capture& c = captures[fd];
    if (!c.scratch) return "";
    std::fflush(stream);
    dup2(c.saved, fd);
    close(c.saved);
    std::string text;
    std::rewind(c.scratch);
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, c.scratch)) > 0;)
        text.append(buffer, n);
    std::fclose(c.scratch);
    c = Capture{};
    return text;
}

}  // namespace

void captureStdout() {
    begin(STDOUT_FILENO, stdout);
}

std::string capturedStdout() {
    return end(STDOUT_FILENO, stdout);
}

void captureStderr() {
    begin(STDERR_FILENO, stderr);
}

std::string capturedStderr() {
    return end(STDERR_FILENO, stderr);
}
