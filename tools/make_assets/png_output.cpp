// PNG output: writes the generator's images with libpng.
#include <png.h>

#include <cstdio>
#include <string>
#include <vector>

#include "make_assets.h"

// Writes 8-bit RGB (channels 3) or RGBA (channels 4) pixels, rows top first,
// with libpng at its strongest compression and no row filters, so that the
// same pixels always give the same bytes.
bool WritePng(const std::string& path, int width, int height, int channels, const std::vector<uint8_t>& pixels)
{
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, (png_uint_32)width, (png_uint_32)height, 8,
                 channels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 9);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_write_info(png, info);
    for (int y = 0; y < height; y++)
        png_write_row(png, pixels.data() + (size_t)y * width * channels);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return fclose(file) == 0;
}
