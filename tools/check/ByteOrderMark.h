// A UTF-8 byte-order mark before a text data file's first word, which the game reads as text.
#pragma once

#include <cstdio>
#include <string>

// The three bytes some editors put before UTF-8 text, and how findings write them.
constexpr char UTF8_MARK[] = "\xEF\xBB\xBF";
constexpr char UTF8_MARK_SHOWN[] = "\\xEF\\xBB\\xBF";

// True when the file at path starts with the mark.
bool startsWithMark(const std::string& path);
// Moves an open file past the mark when it starts with one; true when it did.
bool skipMark(std::FILE* file);
// The word as a finding shows it: the mark written out in front.
std::string shownWord(const std::string& word);
// The whole finding: what the mark is, what the game makes of it, how to
// save the file without it, and that the rest of the file is checked as if
// it were gone.
std::string markFinding(const std::string& consequence);
