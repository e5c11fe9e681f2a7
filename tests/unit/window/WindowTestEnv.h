// A headless screen installed for one test, with a plain top-level window to hang children on.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/backend/headless/HeadlessBackend.h"
#include "framework/gdi/DC.h"
#include "framework/window/MessageLoop.h"
#include "framework/window/Wnd.h"

// A window that fills its client area with one colour on WM_PAINT and counts its paints.
class CColourWnd : public CWnd {
public:
    explicit CColourWnd(COLORREF cr = RGB(200, 0, 0)) : m_cr(cr) {}
    BOOL Make(CWnd* pParent, const CRect& rc, DWORD dwStyle = WS_VISIBLE, UINT nID = 0) {
        if (pParent && !(dwStyle & WS_POPUP))
            return Create(nullptr, "", dwStyle | WS_CHILD, rc, pParent, nID);
        return CreateEx(0, nullptr, "", dwStyle | WS_POPUP, rc, pParent, nID);
    }
    COLORREF m_cr;
    int m_nPaints = 0;
    std::vector<std::string>* m_pOrder = nullptr;
    std::string m_strName;

protected:
    void OnPaint() override {
        ++m_nPaints;
        if (m_pOrder)
            m_pOrder->push_back(m_strName);
        PAINTSTRUCT ps;
        CDC* pDC = BeginPaint(&ps);
        CRect rc;
        GetClientRect(&rc);
        pDC->FillSolidRect(&rc, m_cr);
        EndPaint(&ps);
    }
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { AfxSetBackend(&m_backend); }
    void TearDown() override {
        AfxPumpUntilIdle();
        AfxSetBackend(nullptr);
    }
    void Pump() { AfxPumpUntilIdle(); }
    COLORREF Pixel(int x, int y) const { return m_backend.GetPixel(x, y); }

    CHeadlessBackend m_backend{320, 240};
};
