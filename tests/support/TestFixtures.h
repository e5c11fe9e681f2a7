// Fixtures that the data, page and main-window tests share: a private temporary directory that
// also serves as $TMPDIR, and JPEG pictures made with libjpeg's compressor.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/core/WinTypes.h"

// A fresh directory that also serves as $TMPDIR while the object lives, so that the picture
// files an item makes can be counted.
class CScopedTempDir {
public:
    CScopedTempDir();
    ~CScopedTempDir();
    CScopedTempDir(const CScopedTempDir&) = delete;
    CScopedTempDir& operator=(const CScopedTempDir&) = delete;
    const std::string& Path() const { return m_path; }
    // Names in the directory that start with `prefix`.
    std::vector<std::string> Files(const std::string& prefix = "emE") const;

private:
    std::string m_path;
    std::string m_oldTmpDir;
    bool m_bHadTmpDir = false;
};

enum JPEG_FIXTURE_KIND { JPEG_RGB, JPEG_GREY, JPEG_CMYK };

// A picture of w x h pixels whose pixel (x, y) has the colour `colourAt(x, y)` (0xRRGGBB;
// grey pictures take the red channel; CMYK pictures are written inverted as Adobe does).
// Quality 100 without chroma subsampling, so that colours survive within a few levels.
std::vector<BYTE> MakeJpeg(int w, int h, const std::function<DWORD(int x, int y)>& colourAt,
                           JPEG_FIXTURE_KIND kind = JPEG_RGB, bool bProgressive = false);

// How a fixture picture is stored, for tests that depend on the layout of its data: chroma
// halved both ways as cameras store it (4:2:0), a restart marker at every MCU row, a quality.
struct JPEG_FIXTURE_LAYOUT {
    JPEG_FIXTURE_KIND kind = JPEG_RGB;
    bool bProgressive = false;
    bool bChromaHalved = false;
    bool bRestartRows = false;
    int nQuality = 100;
};
std::vector<BYTE> MakeJpeg(int w, int h, const std::function<DWORD(int x, int y)>& colourAt,
                           const JPEG_FIXTURE_LAYOUT& layout);
