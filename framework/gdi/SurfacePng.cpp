#include "framework/gdi/SurfacePng.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace {

bool WriteRows(FILE* file, const CSurface& surface, const CRect& part) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    std::vector<png_byte> row((size_t)part.Width() * 3);
    // libpng reports failures by jumping back here; nothing below owns a destructor-bearing
    // object created after this point.
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, (png_uint_32)part.Width(), (png_uint_32)part.Height(), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 3); // screenshots are written often; size matters less
    png_write_info(png, info);
    for (int y = part.top; y < part.bottom; ++y) {
        const uint32_t* src = surface.Row(y) + part.left;
        for (int x = 0; x < part.Width(); ++x) {
            row[(size_t)x * 3] = (png_byte)(src[x] >> 16);
            row[(size_t)x * 3 + 1] = (png_byte)(src[x] >> 8);
            row[(size_t)x * 3 + 2] = (png_byte)src[x];
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

BOOL AfxWriteSurfacePng(const CSurface& surface, const char* path) {
    return AfxWriteSurfacePng(surface, surface.Bounds(), path);
}

BOOL AfxWriteSurfacePng(const CSurface& surface, const CRect& part, const char* path) {
    CRect rc;
    if (!path || !surface.IsValid() || !rc.IntersectRect(part, surface.Bounds()))
        return FALSE;
    FILE* file = std::fopen(path, "wb");
    if (!file)
        return FALSE;
    const bool written = WriteRows(file, surface, rc);
    const bool closed = std::fclose(file) == 0;
    if (written && closed)
        return TRUE;
    std::remove(path);
    return FALSE;
}
