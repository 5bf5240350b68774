// The desktop icons and the window's: a Pelmo helmet on a rounded tile, drawn at each size as
// uncompressed PNGs.
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
// Side length in pixels of the icon the game gives its window (a data file, so
// a player may replace it): what window lists and task bars show.
constexpr int WINDOW_ICON_SIZE = 32;
// Writes the window's icon, drawn at WINDOW_ICON_SIZE, to path.
bool writeWindowIcon(const std::string& path);
