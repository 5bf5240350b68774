// A command-line program run through the shell to its end: exit status and stdout.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

struct ProgramRun {
    int status = -1;  // exit status, or 128 + the signal that ended it
    std::string out;
};

// command is a shell command line; redirect stderr in it to see or keep that too.
inline ProgramRun runProgram(const std::string& command) {
    ProgramRun run;
    FILE* p = popen(command.c_str(), "r");
    if (!p) return run;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0) run.out.append(buffer, n);
    const int status = pclose(p);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return run;
}
