// What an image file declares before decoding: its format and size, or why it is refused.
#pragma once

#include <cstddef>
#include <cstdint>

// Image formats as told by the first bytes of a file (TGA has no magic
// number: only a name ending in ".tga" makes a file one).
enum class ImageFormat {
    Unknown,
    Bmp,
    Cur,
    Gif,
    Ico,
    Jpeg,
    Pcx,
    Png,
    Pnm,
    Tga,
    Tiff,
    Webp,
    // Recognised only to be refused with a reason of their own.
    Lbm,
    Xcf,
    Xpm,
    Xv,
};

// Every decoded picture stays within these. Measured in the game under Mesa's
// software renderer at texture quality 2 (decode, conversion to 24 bits and
// upload with mipmaps), one picture costs about 9 bytes per pixel at the peak
// from a 24-bit file, 16 from a 32-bit one, and 15 to 20 ns per pixel. One
// picture may take 300 MB and half a second at most, so that seven skins and a
// sky this big leave a fight some 700 MB of textures on a 2 GiB machine:
// 4096 x 4096 pixels (docs/modding.md, Limits).
constexpr int MAX_IMAGE_SIDE = 8192;                   // pixels; wide skies up to 8192 x 2048
constexpr long long MAX_IMAGE_PIXELS = 4096LL * 4096;  // pixels of one picture
// Bytes read into memory at most: the largest picture stored uncompressed
// at 4 bytes a pixel (32-bit BMP, TGA or TIFF), and 1 MiB of headers and palettes.
constexpr size_t MAX_IMAGE_FILE_BYTES = size_t(MAX_IMAGE_PIXELS) * 4 + (size_t(1) << 20);

struct ImageHeader {
    ImageFormat format = ImageFormat::Unknown;
    int width = 0;  // pixels, as the header declares them
    int height = 0;
};

// The format of an image file's bytes; extension (without the dot, any case)
// matters only for TGA. Unknown when no format the game knows matches.
ImageFormat imageFormatOf(const uint8_t* data, size_t size, const char* extension);

// Walks the structure of the file as far as its decoder will read it: null when
// the image may be decoded (header then holds its format and declared size),
// else the reason, a fixed text. Files whose decoder would read past their end,
// loop, or build a picture beyond the side cap or the pixel budget are refused.
const char* inspectImage(const uint8_t* data, size_t size, const char* extension,
                         ImageHeader& header);

// Null when a picture of w x h pixels is within the side cap and the pixel
// budget, else the reason.
const char* imageSizeProblem(long long w, long long h);
