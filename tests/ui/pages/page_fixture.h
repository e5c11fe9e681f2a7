// What the page and main-window tests share: a private temporary directory (also $TMPDIR, so
// the pictures' files can be counted), JPEG pictures made with libjpeg, collections written with
// the collection writer, and pixel probes that save the screen as a PNG when they fail.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "framework/backend/headless/HeadlessBackend.h"
#include "framework/window/Dialog.h"
#include "pages/CollectionOwner.h"
#include "support/TestFixtures.h"
#include "tools/writer/CollectionWriter.h"

// The bands of every test picture: one along the top rows of the JPEG and one down its left
// side, so that a picture shown flipped or mirrored fails the probes (the viewer shows the
// JPEG's first rows at the bottom). Neither comes near any ItemColour.
const COLORREF TEST_PICTURE_TOP_BAND = RGB(250, 240, 20);
const COLORREF TEST_PICTURE_LEFT_BAND = RGB(245, 245, 245);
const int TEST_PICTURE_BAND = 6;

// A w × h JPEG of one colour but for its two bands.
inline std::vector<BYTE> MakeBandedJpeg(int w, int h, COLORREF colour) {
    return MakeJpeg(w, h, [colour](int x, int y) {
        const COLORREF c = y < TEST_PICTURE_BAND   ? TEST_PICTURE_TOP_BAND
                           : x < TEST_PICTURE_BAND ? TEST_PICTURE_LEFT_BAND
                                                   : colour;
        return (DWORD)PixelFromColor(c);
    });
}

// An item named "Item <n>" (1-based) with a small banded picture of the given colour, or none.
inline ITEM_RECORD MakeTestItem(int nIndex, COLORREF colour, BOOL bPicture = TRUE) {
    ITEM_RECORD item;
    item.m_strName.Format("Item %d", nIndex + 1);
    item.m_strLine1.Format("line one %d", nIndex + 1);
    item.m_strLine2 = "line two";
    item.m_strCollectionTitle = "Test Collection";
    item.m_strCreatedBy = "A. Tester";
    item.m_strDateCreated = "1 May 2026";
    item.m_strComments = "Comments of the collection.";
    item.detailNames.Add("Name");
    item.detailValues.Add(item.m_strName);
    item.bPicture = bPicture;
    if (bPicture)
        item.jpeg = MakeBandedJpeg(40, 30, colour);
    return item;
}

// The picture colour of item i in the collections below: distinct per item, exact in JPEG.
inline COLORREF ItemColour(int i) {
    return RGB(40 + (i * 37) % 200, 200 - (i * 53) % 160, 60 + (i * 71) % 180);
}

inline std::string WriteTestCollection(const CCollectionWriter& writer, const CScopedTempDir& dir,
                                       const char* name = "collection") {
    const std::string path = dir.Path() + "/" + name;
    EXPECT_TRUE(writer.WriteFile(path.c_str()));
    return path;
}

inline std::string WriteItems(const CScopedTempDir& dir, int nCount, BOOL bPictures = TRUE) {
    CCollectionWriter writer;
    writer.SetHeader("1.0 test");
    for (int i = 0; i < nCount; ++i)
        writer.AddItem(MakeTestItem(i, ItemColour(i), bPictures));
    return WriteTestCollection(writer, dir);
}

// Colours within a small distance: JPEG rounding of flat colours.
inline bool NearColour(COLORREF a, COLORREF b, int tolerance = 6) {
    return abs((int)GetRValue(a) - (int)GetRValue(b)) <= tolerance &&
           abs((int)GetGValue(a) - (int)GetGValue(b)) <= tolerance &&
           abs((int)GetBValue(a) - (int)GetBValue(b)) <= tolerance;
}

// A large picture with the same two bands, thick enough to show when it is shrunk to a cell.
inline std::vector<BYTE> MakeLargeBandedJpeg(int w, int h, COLORREF colour) {
    return MakeJpeg(w, h, [=](int x, int y) {
        const COLORREF c = y < h / 8    ? TEST_PICTURE_TOP_BAND
                           : x < w / 10 ? TEST_PICTURE_LEFT_BAND
                                        : colour;
        return (DWORD)PixelFromColor(c);
    });
}

// A window's pixels on the screen, row by row.
inline std::vector<COLORREF> WindowPixels(const CHeadlessBackend& backend, CWnd* pWnd) {
    CRect rc;
    pWnd->GetWindowRect(&rc);
    std::vector<COLORREF> pixels;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            pixels.push_back(backend.GetPixel(x, y));
    return pixels;
}

// The share of pixels (0 to 1) at which two paintings of the same window differ by more than
// `tolerance` in some channel. A reduced decode blends the pixels along sharp edges a little
// differently; a picture flipped, mirrored or in other colours differs across whole bands.
inline double DifferingShare(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b,
                             int tolerance = 24) {
    if (a.size() != b.size() || a.empty())
        return 1.0;
    size_t nDiffering = 0;
    for (size_t i = 0; i < a.size(); ++i)
        nDiffering += NearColour(a[i], b[i], tolerance) ? 0 : 1;
    return (double)nDiffering / (double)a.size();
}

// Saves the screen under the build directory and returns the file's path.
inline std::string SaveFailureScreen(const CHeadlessBackend& backend) {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name)
        if (c == '/')
            c = '_';
    const std::string path = std::string(SLIDESHOW_BINARY_DIR) + "/ui-failure-" + name + ".png";
    backend.SaveScreenshot(path.c_str());
    return path;
}

#define EXPECT_SCREEN_NEAR(backend, x, y, expected)                                                \
    do {                                                                                           \
        const COLORREF got_ = (backend).GetPixel((x), (y));                                        \
        if (!NearColour(got_, (expected)))                                                         \
            ADD_FAILURE() << "pixel (" << (x) << ", " << (y) << ") is " << std::hex << got_        \
                          << ", expected " << (COLORREF)(expected) << std::dec                     \
                          << "; screen saved as " << SaveFailureScreen(backend);                   \
    } while (0)

// A window that holds a collection, for pages tested without the main window.
class CCollectionHost : public CDialog, public CCollectionOwner {
public:
    CCollectionFile m_collection;
    CCollectionFile& GetCollection() override { return m_collection; }
};
