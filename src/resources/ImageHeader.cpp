// Telling an image file's format by its first bytes and judging its header before decoding.
#include "ImageHeader.h"

#include <strings.h>

#include <cstring>

#include "ImageWalkers.h"

namespace {

bool startsWith(const ImageBytes& f, size_t at, const char* magic, size_t n) {
    return f.has(at, n) && std::memcmp(f.data + at, magic, n) == 0;
}

// Columns: format, walker (null: refused whatever the header says), reason
// when refused outright.
struct FormatRule {
    ImageFormat format;
    const char* (*walk)(const ImageBytes&, ImageHeader&);
    const char* refusal;
};
constexpr FormatRule RULES[] = {
    {ImageFormat::Unknown, nullptr,
     "not an image format the game reads (BMP, CUR, GIF, ICO, JPEG, PCX, PNG, PNM, TGA, TIFF, "
     "WEBP)"},
    {ImageFormat::Bmp, walkBmp, nullptr},
    {ImageFormat::Cur, walkIcon, nullptr},
    {ImageFormat::Gif, walkGif, nullptr},
    {ImageFormat::Ico, walkIcon, nullptr},
    {ImageFormat::Jpeg, walkJpeg, nullptr},
    {ImageFormat::Pcx, walkPcx, nullptr},
    {ImageFormat::Png, walkPng, nullptr},
    {ImageFormat::Pnm, walkPnm, nullptr},
    {ImageFormat::Tga, walkTga, nullptr},
    {ImageFormat::Tiff, walkTiff, nullptr},
    {ImageFormat::Webp, walkWebp, nullptr},
    {ImageFormat::Lbm, nullptr, "IFF ILBM pictures are not read; save the picture as PNG or PCX"},
    {ImageFormat::Xcf, nullptr, "GIMP XCF files are not read; export the picture as PNG"},
    {ImageFormat::Xpm, nullptr, "XPM pictures are not read; save the picture as PNG or GIF"},
    {ImageFormat::Xv, nullptr, "XV thumbnails are not read; save the picture as PNG"},
};

}  // namespace

ImageFormat imageFormatOf(const uint8_t* data, size_t size, const char* extension) {
    const ImageBytes f{data, size};
    const bool tgaName = extension && strcasecmp(extension, "tga") == 0;
    if (startsWith(f, 0, "BM", 2)) return ImageFormat::Bmp;
    // A TGA header can begin like an icon directory; the name decides.
    if (startsWith(f, 0, "\0\0\1\0", 4) && !tgaName) return ImageFormat::Ico;
    if (startsWith(f, 0, "\0\0\2\0", 4) && !tgaName) return ImageFormat::Cur;
    if (startsWith(f, 0, "GIF87a", 6) || startsWith(f, 0, "GIF89a", 6)) return ImageFormat::Gif;
    if (startsWith(f, 0, "\xff\xd8\xff", 3)) return ImageFormat::Jpeg;
    // ZSoft's mark, a version it issued, run-length encoding.
    if (f.has(0, 3) && data[0] == 0x0a && data[1] <= 5 && data[1] != 1 && data[2] == 1)
        return ImageFormat::Pcx;
    if (startsWith(f, 0, "\x89PNG\r\n\x1a\n", 8)) return ImageFormat::Png;
    if (startsWith(f, 0, "P7 332", 6)) return ImageFormat::Xv;
    if (f.has(0, 3) && data[0] == 'P' && data[1] >= '1' && data[1] <= '6' &&
        std::strchr(" \t\r\n#", data[2]) && data[2] != '\0')
        return ImageFormat::Pnm;
    if (startsWith(f, 0, "II*\0", 4) || startsWith(f, 0, "MM\0*", 4)) return ImageFormat::Tiff;
    if (startsWith(f, 0, "RIFF", 4) && startsWith(f, 8, "WEBP", 4)) return ImageFormat::Webp;
    if (startsWith(f, 0, "FORM", 4) && (startsWith(f, 8, "ILBM", 4) || startsWith(f, 8, "PBM ", 4)))
        return ImageFormat::Lbm;
    if (startsWith(f, 0, "gimp xcf", 8)) return ImageFormat::Xcf;
    if (startsWith(f, 0, "/* XPM */", 9)) return ImageFormat::Xpm;
    if (tgaName) return ImageFormat::Tga;
    return ImageFormat::Unknown;
}

const char* imageSizeProblem(long long w, long long h) {
    if (w < 1 || h < 1) return "image has no pixels";
    if (w > MAX_IMAGE_SIDE || h > MAX_IMAGE_SIDE)
        return "image is wider or higher than 8192 pixels";
    if (w * h > MAX_IMAGE_PIXELS) return "image has more than 16777216 pixels (4096 x 4096)";
    return nullptr;
}

static_assert(MAX_IMAGE_SIDE == 8192 && MAX_IMAGE_PIXELS == 16777216 &&
                  MAX_IMAGE_FILE_BYTES == 65u << 20,
              "the messages above and below name these limits");

const char* inspectImage(const uint8_t* data, size_t size, const char* extension,
                         ImageHeader& header) {
    header = ImageHeader{};
    if (size > MAX_IMAGE_FILE_BYTES) return "file is larger than 65 MiB";
    header.format = imageFormatOf(data, size, extension);
    for (const FormatRule& rule : RULES) {
        if (rule.format != header.format) continue;
        if (!rule.walk) return rule.refusal;
        if (const char* problem = rule.walk(ImageBytes{data, size}, header)) return problem;
        return imageSizeProblem(header.width, header.height);
    }
    return RULES[0].refusal;  // GCOVR_EXCL_LINE: every format has a rule
}
