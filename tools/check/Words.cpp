// Splitting a text file into words with line numbers, as formatted input would see them.
#include "Words.h"

#include <cctype>
#include <cstdio>

#include "TextFields.h"

namespace {
// Longer words are cut: the game refuses them anyway, and messages quote only the start.
constexpr size_t MAX_WORD = MAX_NAME_LENGTH + 1;
}  // namespace

WordFile readWords(const std::string& path, size_t maxWords) {
    WordFile result;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return result;
    result.opened = true;
    int line = 1, c;
    Word word;
    size_t length = 0;
    while ((c = std::fgetc(f)) != EOF) {
        if (c == 0) result.binary = true;
        if (!std::isspace(c)) {
            if (length == 0) word = Word{"", line, false};
            if (length < MAX_WORD) word.text += static_cast<char>(c);
            ++length;
            continue;
        }
        if (length > 0) {
            word.tooLong = length > MAX_NAME_LENGTH;
            if (result.words.size() == maxWords) {
                result.more = true;
                break;
            }
            result.words.push_back(word);
            length = 0;
        }
        if (c == '\n') ++line;
    }
    if (length > 0) {
        word.tooLong = length > MAX_NAME_LENGTH;
        if (result.words.size() == maxWords)
            result.more = true;
        else
            result.words.push_back(word);
    }
    std::fclose(f);
    return result;
}
