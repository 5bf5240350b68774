// Description files read field by field with the game's reader, each field's line noted and judged.
#pragma once

#include <string>
#include <vector>

#include "DescriptionFiles.h"
#include "Findings.h"

// Reads the description file at path into record as the game does (its
// filePath too) and reports at path: a file that cannot be opened (the game
// skips this character or map), the file ending before a field, a number
// field whose word is not exactly one number (the game reads what it can and
// every later field shifts, so later fields are not judged), a name over 254
// characters, words left after the last field. Returns each field's line:
// that of its first word, or of the last word for fields the file does not
// reach; none when the file cannot be opened.
std::vector<int> readFields(const std::string& path, CharacterInfo& record, Findings& findings);
std::vector<int> readFields(const std::string& path, MapInfo& record, Findings& findings);
