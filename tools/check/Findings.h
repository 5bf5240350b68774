// The checker's findings: one line each, kept once however often they are met, printed as text or
// JSON.
#pragma once

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "Text.h"  // format, for every check

enum class Severity { Error, Warning };

struct Finding {
    std::string file;  // the file the mistake is in, as the game opens it
    int line = 0;      // 1-based; 0 when the finding is about the file as a whole
    Severity severity = Severity::Error;
    std::string message;
};

class Findings {
public:
    // A finding equal in file, line, severity and message to an earlier one is dropped.
    void add(const std::string& file, int line, Severity severity, const std::string& message);
    void error(const std::string& file, int line, const std::string& message) {
        add(file, line, Severity::Error, message);
    }
    void warning(const std::string& file, int line, const std::string& message) {
        add(file, line, Severity::Warning, message);
    }

    const std::vector<Finding>& all() const { return list_; }
    int errors() const { return errors_; }
    int warnings() const { return static_cast<int>(list_.size()) - errors_; }

private:
    std::vector<Finding> list_;  // in the order they were met
    std::set<std::string> seen_;
    int errors_ = 0;
};

// "FILE[:LINE]: error|warning: message", one line per finding. Control
// characters in file names and messages are escaped so each stays one line.
void printFindingsText(FILE* out, const Findings& findings);
// One JSON object per line: {"file":...,"line":N or null,"severity":...,"message":...}.
void printFindingsJson(FILE* out, const Findings& findings);
