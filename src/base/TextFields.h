// Bounded field readers for the plain-text description files and content lists.
#pragma once

#include <cstdio>

// Longest name a list or description file may hold; buffers have one more for the zero.
constexpr int MAX_NAME_LENGTH = 254;

// Reads one white-space-delimited word the way "%s\n" does (leading and trailing
// white space skipped) into out, which holds MAX_NAME_LENGTH + 1 characters.
// Returns 1 for a word, 0 for a word longer than MAX_NAME_LENGTH (consumed whole,
// out left empty, a message naming source on stderr unless source is null), EOF
// at the end of the file.
int readName(std::FILE* file, char* out, const char* source);

// "%d\n" and "%f\n": the value stays as it was when the file does not supply it.
void readInt(std::FILE* file, int& value);
void readFloat(std::FILE* file, float& value);
