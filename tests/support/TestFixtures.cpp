#include "support/TestFixtures.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <stdexcept>

#include <jpeglib.h>

#include "support/TempFolderVariable.h"

CScopedTempDir::CScopedTempDir() {
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    std::random_device random;
    for (int attempt = 0; m_path.empty(); ++attempt) {
        if (attempt == 100)
            throw std::runtime_error("no temporary directory could be made");
        const std::filesystem::path candidate =
            base / ("slideshow-test-" + std::to_string(random()));
        std::error_code ec;
        if (std::filesystem::create_directory(candidate, ec))
            m_path = candidate.string();
    }
    m_bHadTmpDir = GetTempFolderVariable(m_oldTmpDir);
    SetTempFolderVariable(m_path);
}

CScopedTempDir::~CScopedTempDir() {
    if (m_bHadTmpDir)
        SetTempFolderVariable(m_oldTmpDir);
    else
        ClearTempFolderVariable();
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::vector<std::string> CScopedTempDir::Files(const std::string& prefix) const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_path)) {
        const std::string name = entry.path().filename().string();
        if (name.compare(0, prefix.size(), prefix) == 0)
            names.push_back(name);
    }
    return names;
}

std::vector<BYTE> MakeJpeg(int w, int h, const std::function<DWORD(int x, int y)>& colourAt,
                           JPEG_FIXTURE_KIND kind, bool bProgressive) {
    JPEG_FIXTURE_LAYOUT layout;
    layout.kind = kind;
    layout.bProgressive = bProgressive;
    return MakeJpeg(w, h, colourAt, layout);
}

std::vector<BYTE> MakeJpeg(int w, int h, const std::function<DWORD(int x, int y)>& colourAt,
                           const JPEG_FIXTURE_LAYOUT& layout) {
    const JPEG_FIXTURE_KIND kind = layout.kind;
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&cinfo, &out, &outSize);
    cinfo.image_width = (JDIMENSION)w;
    cinfo.image_height = (JDIMENSION)h;
    cinfo.input_components = kind == JPEG_GREY ? 1 : (kind == JPEG_CMYK ? 4 : 3);
    cinfo.in_color_space =
        kind == JPEG_GREY ? JCS_GRAYSCALE : (kind == JPEG_CMYK ? JCS_CMYK : JCS_RGB);
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, layout.nQuality, TRUE);
    const int nLumaFactor = layout.bChromaHalved && kind == JPEG_RGB ? 2 : 1;
    for (int c = 0; c < cinfo.num_components; c++) {
        cinfo.comp_info[c].h_samp_factor = c == 0 ? nLumaFactor : 1;
        cinfo.comp_info[c].v_samp_factor = c == 0 ? nLumaFactor : 1;
    }
    if (layout.bProgressive)
        jpeg_simple_progression(&cinfo);
    if (layout.bRestartRows)
        cinfo.restart_in_rows = 1;
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row((size_t)w * (size_t)cinfo.input_components);
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = (int)cinfo.next_scanline;
        for (int x = 0; x < w; x++) {
            const DWORD rgb = colourAt(x, y);
            const JSAMPLE r = (JSAMPLE)(rgb >> 16), g = (JSAMPLE)(rgb >> 8), b = (JSAMPLE)rgb;
            JSAMPLE* p = &row[(size_t)x * (size_t)cinfo.input_components];
            if (kind == JPEG_GREY) {
                p[0] = r;
            } else if (kind == JPEG_CMYK) {
                // Inverted CMYK with no black ink: 255 - (255 - channel).
                p[0] = r, p[1] = g, p[2] = b, p[3] = 255;
            } else {
                p[0] = r, p[1] = g, p[2] = b;
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<BYTE> bytes(out, out + outSize);
    jpeg_destroy_compress(&cinfo);
    std::free(out);
    return bytes;
}
