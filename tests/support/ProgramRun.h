// A command-line program run through the shell to its end: exit status, stdout and stderr.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "TestFiles.h"

struct ProgramRun {
    int status = -1;  // exit status, or 128 + the signal that ended it
    std::string out;
    std::string err;  // what the command line did not redirect elsewhere
};

// command is a shell command line.
inline ProgramRun runProgram(const std::string& command) {
    ProgramRun run;
    const TempDir scratch;
    const std::string errFile = scratch.file("stderr");
    FILE* p = popen(("{ " + command + "\n} 2>" + errFile).c_str(), "r");
    if (!p) return run;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, p)) > 0;) run.out.append(buffer, n);
    const int status = pclose(p);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.err = readFile(errFile);
    return run;
}
