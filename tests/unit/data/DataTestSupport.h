// Shared helpers for the data tests: a private temporary directory, collections written to
// disk with the collection writer, and JPEG pictures made with libjpeg's compressor.
#pragma once

#include <string>
#include <vector>

#include "data/CollectionFile.h"
#include "tools/writer/CollectionWriter.h"

// A fresh directory that also serves as $TMPDIR while the object lives, so that the picture
// files an item makes can be counted.
class CScopedTempDir {
public:
    CScopedTempDir();
    ~CScopedTempDir();
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
std::vector<BYTE> MakeJpeg(int w, int h, DWORD (*colourAt)(int x, int y), JPEG_FIXTURE_KIND kind = JPEG_RGB,
                           bool bProgressive = false);

std::vector<BYTE> ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::vector<BYTE>& bytes);

// An item with its eight texts set to "<tag> 0" ... "<tag> 7".
ITEM_RECORD MakeItem(const std::string& tag);

// Writes the collection into `dir` and opens it; the file stays until `dir` goes.
std::string WriteCollection(const CCollectionWriter& writer, const CScopedTempDir& dir,
                            const std::string& name = "viewer");
