// Finding, skipping and naming a UTF-8 byte-order mark at the start of a text data file.
#include "ByteOrderMark.h"

#include <cstring>

bool skipMark(std::FILE* file) {
    char start[3];
    if (std::fread(start, 1, 3, file) == 3 && std::memcmp(start, UTF8_MARK, 3) == 0) return true;
    std::rewind(file);
    return false;
}

bool startsWithMark(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    const bool mark = skipMark(file);
    std::fclose(file);
    return mark;
}

std::string shownWord(const std::string& word) {
    if (word.compare(0, 3, UTF8_MARK) != 0) return word;
    return UTF8_MARK_SHOWN + word.substr(3);
}

std::string markFinding(const std::string& consequence) {
    return "the file starts with a UTF-8 byte-order mark (the bytes EF BB BF), which the game "
           "takes for text: " +
           consequence +
           "; save it without the mark (as plain ASCII, or UTF-8 without BOM); the rest is "
           "checked as if it were gone";
}
