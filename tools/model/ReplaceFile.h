// Writes a file whole or not at all: a temporary file beside it, renamed into place.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes bytes to a new file in path's folder and renames it to path, so that
// readers see the old file or the new one, never a part. A file already at
// path keeps its permissions; a new one gets 0666 less the umask. False, with
// a message on stderr, when it cannot: path is then as it was and no
// temporary file is left.
bool replaceFile(const std::string& path, const std::vector<uint8_t>& bytes);
