// A thumbnail cell inside a page inside a main window that records its notifications, on an
// in-memory screen, with pictures made in memory.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "framework/backend/headless/HeadlessBackend.h"
#include "framework/window/MessageLoop.h"
#include "pages/ThumbnailCell.h"
#include "res/ProgramResources.h"
#include "res/ResourceIds.h"

const COLORREF PICTURE = RGB(200, 30, 60);
const COLORREF BACKGROUND = RGB(128, 128, 128);

class CNotifiedWindow : public CDialog {
public:
    std::vector<NMHDR> m_notifications;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_NOTIFY)
            m_notifications.push_back(*(NMHDR*)lParam);
        return CDialog::WindowProc(message, wParam, lParam);
    }
};

class CellFixture : public ::testing::Test {
protected:
    static const int CELL_X = 110; // the page at (100, 50), the cell at (10, 10) in it
    static const int CELL_Y = 60;

    void SetUp() override {
        AfxSetBackend(&m_backend);
        RegisterProgramResources();
        ASSERT_TRUE(m_main.Create(IDD_VIEWER, nullptr));
        m_main.MoveWindow(0, 0, 1024, 768);
        ASSERT_TRUE(m_page.Create(IDD_THUMBNAILS_PAGE, &m_main));
        m_page.MoveWindow(100, 50, 900, 600);
        ASSERT_TRUE(m_cell.Create(IDD_THUMBNAIL_CELL, &m_page));
        m_cell.SetBackColor(BACKGROUND);
        m_cell.MoveWindow(10, 10, 160, 200);
        for (CWnd* pWnd : {(CWnd*)&m_main, (CWnd*)&m_page, (CWnd*)&m_cell})
            pWnd->ShowWindow(SW_SHOW);
        AfxPumpUntilIdle();
    }
    void TearDown() override {
        m_main.DestroyWindow();
        AfxSetBackend(nullptr);
    }
    void Repaint() {
        m_cell.Invalidate();
        AfxPumpUntilIdle();
    }
    COLORREF CellPixel(int x, int y) const { return m_backend.GetPixel(CELL_X + x, CELL_Y + y); }

    // A 24-bit picture of one colour, or of columns alternating between two.
    static void MakePicture(CItemPicture& picture, int width, int height, COLORREF even,
                            COLORREF odd = CLR_NONE) {
        BITMAPINFO bmi = {};
        bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        BYTE* pBits = nullptr;
        picture.Attach(CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, (void**)&pBits, nullptr, 0));
        ASSERT_NE(pBits, nullptr);
        const int stride = (width * 3 + 3) & ~3;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const COLORREF c = (x % 2 == 1 && odd != CLR_NONE) ? odd : even;
                BYTE* p = pBits + (size_t)y * stride + x * 3;
                p[0] = GetBValue(c), p[1] = GetGValue(c), p[2] = GetRValue(c);
            }
    }

    CHeadlessBackend m_backend{1024, 768};
    CNotifiedWindow m_main;
    CDialog m_page;
    CThumbnailCell m_cell;
};
