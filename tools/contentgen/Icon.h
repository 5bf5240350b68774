// The desktop icon: a Pelmo helmet on a rounded tile, written as an uncompressed RGBA PNG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// PNG bytes of an 8-bit RGBA picture (rows top first, 4 bytes a pixel), its
// image data in stored (uncompressed) deflate blocks.
std::vector<uint8_t> encodePng(int width, int height, const std::vector<uint8_t>& rgba);
bool writeIcon(const std::string& path);
