// Description files read field by field with the game's reader, each field's line noted and judged.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "DescriptionFiles.h"
#include "Findings.h"

// Reads the open description file at path into record as the game does and
// reports at path: the file ending before a field, a number field whose word
// is not exactly one number (the game reads what it can and every later field
// shifts, so later fields are not judged), a name over 254 characters, words
// left after the last field. Returns each field's line: that of its first
// word, or of the last word for fields the file does not reach.
std::vector<int> readFields(std::FILE* file, const std::string& path, CharacterInfo& record,
                            Findings& findings);
std::vector<int> readFields(std::FILE* file, const std::string& path, MapInfo& record,
                            Findings& findings);
