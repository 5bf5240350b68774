// Header walkers of the plain raster formats: BMP, ICO and CUR, PCX, PNM, TGA.
#include <cstdlib>
#include <cstring>

#include "ImageWalkers.h"

namespace {

// Bytes of one row of w pixels of the given depth, padded to 4 bytes as
// bitmaps store them.
long long bitmapRow(long long w, int bitsPerPixel) {
    return (w * bitsPerPixel + 31) / 32 * 4;
}

}  // namespace

const char* walkBmp(const ImageBytes& f, ImageHeader& header) {
    if (!f.has(0, 26)) return "BMP header cut short";
    long long w, h;
    if (f.le32(14) == 12) {  // old OS/2 header: 16-bit sides
        w = f.le16(18);
        h = f.le16(20);
    } else {
        w = int32_t(f.le32(18));
        h = int32_t(f.le32(22));  // negative: rows stored top first
    }
    setSize(header, std::llabs(w), std::llabs(h));
    return nullptr;
}

// Every picture of the directory is checked, whichever the decoder picks: the
// decoder reads the palette into a table of 256 entries and the rows by the
// picture's own header, so both must fit.
const char* walkIcon(const ImageBytes& f, ImageHeader& header) {
    if (!f.has(0, 6)) return "icon directory cut short";
    const uint32_t count = f.le16(4);
    if (count == 0) return "icon file holds no picture";
    if (!f.has(6, size_t(count) * 16)) return "icon directory runs past the end of the file";
    for (uint32_t i = 0; i < count; ++i) {
        const size_t at = f.le32(6 + 16 * i + 12);
        if (!f.has(at, 40)) return "icon picture runs past the end of the file";
        if (f.has(at, 4) && std::memcmp(f.data + at, "\x89PNG", 4) == 0)
            return "PNG-compressed icons are not read";
        if (f.le32(at) != 40) return "icon picture header of unknown size";
        const long long w = int32_t(f.le32(at + 4)), doubled = int32_t(f.le32(at + 8));
        const int bits = int(f.le16(at + 14));
        const uint32_t compression = f.le32(at + 16), coloursUsed = f.le32(at + 32);
        if (compression != 0) return "compressed icon pictures are not read";
        if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
            return "icon pixels of a depth not read (1, 4, 8, 24 or 32 bits are)";
        if (w < 1 || w > 256 || doubled < 2 || doubled > 512)
            return "icon picture outside 1 to 256 pixels a side";
        const long long paletteSize = bits <= 8 ? (1LL << bits) : 0;
        if (coloursUsed > paletteSize) return "icon palette larger than its depth allows";
        const long long h = doubled / 2;
        const long long colours = coloursUsed ? coloursUsed : paletteSize;
        const long long need = 40 + colours * 4 + (bitmapRow(w, bits) + bitmapRow(w, 1)) * h;
        if (!f.has(at, size_t(need))) return "icon picture runs past the end of the file";
        if (w * h > (long long)header.width * header.height) setSize(header, w, h);
    }
    return nullptr;
}

const char* walkPcx(const ImageBytes& f, ImageHeader& header) {
    if (!f.has(0, 128)) return "PCX header cut short";
    const long long w = (long long)f.le16(8) - f.le16(4) + 1;
    const long long h = (long long)f.le16(10) - f.le16(6) + 1;
    const int bits = f.data[3], planes = f.data[65];
    const long long lineBytes = f.le16(66);
    const bool paletted = (bits == 1 && planes >= 1 && planes <= 4) || (bits == 8 && planes == 1);
    if (!paletted && !(bits == 8 && planes == 3))
        return "PCX pixel layout not read (1 bit in 1 to 4 planes, 8 bits in 1 or 3 planes are)";
    setSize(header, w, h);
    if (w < 1) return nullptr;  // the size check refuses it
    // Decoding walks whole lines: a line far longer than the picture is work
    // the pixel budget does not see.
    const long long needed = (w * bits + 7) / 8;
    if (lineBytes < needed) return "PCX line shorter than its picture";
    if (lineBytes > needed + 16) return "PCX line far longer than its picture";
    return nullptr;
}

const char* walkPnm(const ImageBytes& f, ImageHeader& header) {
    size_t at = 2;
    // Reads one header number the way the decoder does: blanks and comment
    // lines first, then digits; at most 9 digits so it cannot overflow.
    const auto number = [&](long long& value) {
        for (;;) {
            while (f.has(at, 1) && std::strchr(" \t\r\n", f.data[at]) && f.data[at]) ++at;
            if (!f.has(at, 1) || f.data[at] != '#') break;
            while (f.has(at, 1) && f.data[at] != '\n' && f.data[at] != '\r') ++at;
        }
        value = 0;
        int digits = 0;
        for (; f.has(at, 1) && f.data[at] >= '0' && f.data[at] <= '9'; ++at, ++digits)
            if (digits < 9) value = value * 10 + (f.data[at] - '0');
        return digits > 0 && digits <= 9;
    };
    long long w = 0, h = 0, maximum = 1;
    if (!number(w) || !number(h)) return "PNM size missing or out of range";
    const bool bitmap = f.data[1] == '1' || f.data[1] == '4';
    if (!bitmap && (!number(maximum) || maximum < 1 || maximum > 255))
        return "PNM maximum value missing or out of range (1 to 255)";
    setSize(header, w, h);
    return nullptr;
}

const char* walkTga(const ImageBytes& f, ImageHeader& header) {
    if (!f.has(0, 18)) return "TGA header cut short";
    setSize(header, f.le16(12), f.le16(14));
    return nullptr;
}
