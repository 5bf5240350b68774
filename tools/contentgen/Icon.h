// The desktop icons: a Pelmo helmet on a rounded tile, drawn at each size as uncompressed PNGs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// PNG bytes of an 8-bit RGBA picture (rows top first, 4 bytes a pixel), its
// image data in stored (uncompressed) deflate blocks.
std::vector<uint8_t> encodePng(int width, int height, const std::vector<uint8_t>& rgba);
// Side lengths in pixels of the icons a desktop theme takes.
constexpr int ICON_SIZES[] = {16, 32, 48, 64, 128, 256};
// Writes dir/tovask-N.png for each N of ICON_SIZES, each drawn at its size.
bool writeIcons(const std::string& dir);
