// Writes a file whole or not at all: a temporary file beside it, renamed into place.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes bytes to a new file in path's folder and renames it to path, so that
// readers see the old file or the new one, never a part. A file already at
// path keeps its permissions; a new one gets 0666 less the umask. False, with
// a message on stderr, when it cannot: path is then as it was and no
// temporary file is left. A path naming a pipe or a device (/dev/stdout, a
// FIFO) is written in place instead, and stays what it was.
bool replaceFile(const std::string& path, const std::vector<uint8_t>& bytes);
