// A headless screen with one black top-level window that records what its children tell it,
// for the control tests. A failed test leaves a screenshot in the build tree.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/backend/headless/HeadlessBackend.h"
#include "framework/gdi/GdiObject.h"
#include "framework/window/Wnd.h"

// One message that reached the host or a recording window.
struct CRecordedMessage {
    std::string strWho;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    NMHDR nmhdr = {}; // a copy, for WM_NOTIFY
};
typedef std::vector<CRecordedMessage> CMessageLog;

class CRecordingHost : public CWnd {
public:
    BOOL CreateHost(int cx, int cy);
    CMessageLog* m_pLog = nullptr;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CBrush m_brBack;
};

// Appends WM_COMMAND and WM_NOTIFY to a log under a name.
void RecordMessage(CMessageLog* pLog, const char* lpszWho, UINT message, WPARAM wParam,
                   LPARAM lParam);

class ControlsTest : public ::testing::Test {
protected:
    static const int SCREEN_WIDTH = 400;
    static const int SCREEN_HEIGHT = 300;

    void SetUp() override;
    void TearDown() override;

    // Lets every posted message and paint happen.
    void Pump();
    COLORREF Pixel(int x, int y) const { return m_pBackend->GetPixel(x, y); }
    // The pixels of a screen rectangle that are not of the colour given.
    int CountOther(const CRect& rc, COLORREF cr) const;
    // The smallest rectangle holding every pixel of rc that is not of the colour given.
    CRect InkBounds(const CRect& rc, COLORREF crBack) const;

    std::unique_ptr<CHeadlessBackend> m_pBackend;
    CRecordingHost m_host;
    CMessageLog m_log;
};
