// Writes an Image as a baseline JPEG with libjpeg.
#include "JpegFile.h"

#include <jpeglib.h>

#include <cstdio>
#include <vector>

bool saveJpeg(const Image& image, const std::string& path, int quality) {
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) {
        std::fprintf(stderr, "Unable to write %s\n", path.c_str());
        return false;
    }
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, out);
    info.image_width = static_cast<JDIMENSION>(image.width());
    info.image_height = static_cast<JDIMENSION>(image.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    const std::vector<uint8_t> pixels = image.bytes();
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(
            &pixels[static_cast<size_t>(info.next_scanline) * image.width() * 3]);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    const bool ok = std::fclose(out) == 0;
    if (!ok) std::fprintf(stderr, "Unable to write %s\n", path.c_str());
    return ok;
}
