// File names built from numbered patterns read from character files ("skin%d.bmp").
#pragma once

#include <cstddef>

// True when the pattern holds exactly one integer conversion (%d or %i, with
// optional flags, a width and a precision of at most two digits each) and no
// other '%' than literal "%%", so printing it with one int is well defined.
bool isNumberPattern(const char* pattern);

// Writes the pattern printed with number into out (size bytes). A pattern that
// is not a number pattern is used as a plain name, unchanged. False, with out
// empty, when the name does not fit.
bool numberedName(char* out, size_t size, const char* pattern, int number);
// The same, telling on stderr of a pattern holding a '%' that is used as it is
// and of a name that does not fit.
bool formatNumberedName(char* out, size_t size, const char* pattern, int number);
