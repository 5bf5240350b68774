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

// Every decoded picture stays within these; a texture of the largest allowed
// picture decodes, converts and uploads (with mipmaps) in a fraction of a
// second and some 60 MB at most (docs/modding.md, Textures).
constexpr int MAX_IMAGE_SIDE = 8192;                       // pixels
constexpr long long MAX_IMAGE_PIXELS = 2048LL * 2048;      // pixels of one picture
constexpr size_t MAX_IMAGE_FILE_BYTES = size_t(64) << 20;  // bytes read into memory at most

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
