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
// software renderer at texture quality 2, loading a picture (decoding,
// conversion to 24 bits, upload with mipmaps) peaks at about 8 bytes a pixel,
// keeps 4 (the texture) and takes 15 to 25 ns a pixel, for BMP of 24 or 32 bits
// and JPEG alike. One picture may peak at 150 MB and take half a second:
// 4096 x 4096 pixels. A fight of seven skins and a sky that big then holds some
// 520 MB of textures, which with its models' budget (ModelStore) fits a 2 GiB
// machine (docs/modding.md, Limits).
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
