// Encodes a picture as a PNG file: 8-bit RGB, compressed with deflate's fixed codes.
#pragma once

#include <cstdint>
#include <vector>

// rgb: width x height pixels of red, green, blue bytes, top row first.
// Width and height are 1 or more and rgb holds width * height * 3 bytes (the
// caller's promise). Returns the bytes of a PNG file that any decoder reads
// back as exactly these pixels.
std::vector<uint8_t> encodePng(const std::vector<uint8_t>& rgb, int width, int height);
