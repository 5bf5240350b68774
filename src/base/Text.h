// Text helpers every layer shares: printf into a string, ASCII lower case, whole numbers.
#pragma once

#include <string>

// printf into a string; texts longer than 1023 bytes are cut.
std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// text with the letters A to Z lowered and every other byte as it was: the
// stores compare names byte for byte, whatever the locale.
std::string lowered(std::string text);

// True, with the number in value, when word is exactly one decimal whole
// number within int's range; otherwise value stays as it was.
bool wholeNumber(const std::string& word, int& value);
