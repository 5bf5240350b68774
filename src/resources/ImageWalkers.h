// Per-format header walkers behind inspectImage, and the bounded byte reads they share.
#pragma once

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>

#include "ImageHeader.h"

// The file's bytes; every read is checked against size first with has().
struct ImageBytes {
    const uint8_t* data;
    size_t size;

    // True when n bytes from at lie inside the file (overflow-safe).
    bool has(size_t at, size_t n) const { return at <= size && n <= size - at; }
    uint32_t le16(size_t at) const { return data[at] | uint32_t(data[at + 1]) << 8; }
    uint32_t le32(size_t at) const { return le16(at) | le16(at + 2) << 16; }
    uint32_t be16(size_t at) const { return uint32_t(data[at]) << 8 | data[at + 1]; }
    uint32_t be32(size_t at) const { return be16(at) << 16 | be16(at + 2); }
};

// Stores a declared size, however large, where the size check will see it.
inline void setSize(ImageHeader& header, long long w, long long h) {
    header.width = int(std::clamp<long long>(w, INT_MIN, INT_MAX));
    header.height = int(std::clamp<long long>(h, INT_MIN, INT_MAX));
}

// Each walker is called only when imageFormatOf chose its format; it fills
// header's width and height and returns null, or returns the reason to refuse.
const char* walkBmp(const ImageBytes& f, ImageHeader& header);
const char* walkIcon(const ImageBytes& f, ImageHeader& header);  // ICO and CUR
const char* walkPcx(const ImageBytes& f, ImageHeader& header);
const char* walkPnm(const ImageBytes& f, ImageHeader& header);
const char* walkTga(const ImageBytes& f, ImageHeader& header);
const char* walkPng(const ImageBytes& f, ImageHeader& header);
const char* walkJpeg(const ImageBytes& f, ImageHeader& header);
const char* walkGif(const ImageBytes& f, ImageHeader& header);
const char* walkTiff(const ImageBytes& f, ImageHeader& header);
const char* walkWebp(const ImageBytes& f, ImageHeader& header);
