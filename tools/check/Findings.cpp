// Keeping findings once and printing them for people or for scripts.
#include "Findings.h"

#include "MeshPrinter.h"  // jsonString, shared with tovask-3dsinfo

void Findings::add(const std::string& file, int line, Severity severity,
                   const std::string& message) {
    const std::string key = file + '\n' + std::to_string(line) + '\n' +
                            (severity == Severity::Error ? "E" : "W") + '\n' + message;
    if (!seen_.insert(key).second) return;
    list_.push_back({file, line, severity, message});
    if (severity == Severity::Error) ++errors_;
}

namespace {

const char* severityName(Severity s) {
    return s == Severity::Error ? "error" : "warning";
}

// The text with control characters and bytes that are not UTF-8 written as
// \xNN (JSON's escapes, turned back where they are plain), so a finding about
// a garbage file stays one readable line.
std::string oneLine(const std::string& text) {
    const std::string json = jsonString(text);
    std::string out;
    for (size_t i = 1; i + 1 < json.size(); ++i) {
        if (json[i] != '\\') {
            out += json[i];
        } else if (json[i + 1] == 'u') {  // \u00XX
            out += "\\x" + json.substr(i + 4, 2);
            i += 5;
        } else {  // an escaped quote or backslash
            out += json[++i];
        }
    }
    return out;
}

}  // namespace

void printFindingsText(FILE* out, const Findings& findings) {
    for (const Finding& f : findings.all()) {
        std::string where = oneLine(f.file);
        if (f.line > 0) where += ":" + std::to_string(f.line);
        std::fprintf(out, "%s: %s: %s\n", where.c_str(), severityName(f.severity),
                     oneLine(f.message).c_str());
    }
}

void printFindingsJson(FILE* out, const Findings& findings) {
    for (const Finding& f : findings.all()) {
        const std::string line = f.line > 0 ? std::to_string(f.line) : "null";
        std::fprintf(out, "{\"file\":%s,\"line\":%s,\"severity\":\"%s\",\"message\":%s}\n",
                     jsonString(f.file).c_str(), line.c_str(), severityName(f.severity),
                     jsonString(f.message).c_str());
    }
}
