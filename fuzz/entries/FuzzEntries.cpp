// Splitting multi-file inputs and finding entry points by name.
#include "FuzzEntries.h"

#include <cstring>

std::vector<std::string> splitParts(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const size_t separatorLength = std::strlen(PART_SEPARATOR);
    std::vector<std::string> parts;
    size_t from = 0;
    for (;;) {
        const size_t at = text.find(PART_SEPARATOR, from);
        if (at == std::string::npos) break;
        parts.push_back(text.substr(from, at - from));
        from = at + separatorLength;
    }
    parts.push_back(text.substr(from));
    return parts;
}

FuzzEntry fuzzEntryNamed(const std::string& name) {
    // Columns: target name (fuzzer binary and corpus folder), entry point.
    struct Named {
        const char* name;
        FuzzEntry entry;
    };
    static constexpr Named ENTRIES[] = {
        {"tds", fuzzTds},
        {"animation", fuzzAnimation},
        {"settings", fuzzSettings},
        {"contentlists", fuzzContentLists},
        {"description", fuzzDescription},
        {"image", fuzzImage},
    };
    for (const Named& n : ENTRIES)
        if (name == n.name) return n.entry;
    return nullptr;
}
