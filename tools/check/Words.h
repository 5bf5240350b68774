// The white-space separated words of a text data file, each with its line, read within bounds.
#pragma once

#include <string>
#include <vector>

struct Word {
    std::string text;      // cut to MAX_WORD characters
    int line = 0;          // 1-based
    bool tooLong = false;  // longer than the game's 254-character names
};

struct WordFile {
    bool opened = false;
    std::vector<Word> words;
    bool more = false;    // the file holds more words than were asked for
    bool binary = false;  // a zero byte: not a text file
};

// Reads at most maxWords words of the file at path. White space is what the
// game's formatted input skips (isspace in the C locale).
WordFile readWords(const std::string& path, size_t maxWords);
