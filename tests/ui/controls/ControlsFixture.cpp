#include "ControlsFixture.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "framework/window/Cursor.h"
#include "framework/window/MessageLoop.h"
#include "res/ProgramResources.h"

void RecordMessage(CMessageLog* pLog, const char* lpszWho, UINT message, WPARAM wParam,
                   LPARAM lParam) {
    if (!pLog || (message != WM_COMMAND && message != WM_NOTIFY))
        return;
    CRecordedMessage record;
    record.strWho = lpszWho;
    record.message = message;
    record.wParam = wParam;
    record.lParam = lParam;
    if (message == WM_NOTIFY && lParam)
        record.nmhdr = *(const NMHDR*)lParam;
    pLog->push_back(record);
}

BOOL CRecordingHost::CreateHost(int cx, int cy) {
    m_brBack.CreateSolidBrush(RGB(0, 0, 0));
    LPCTSTR lpszClass =
        AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), (HBRUSH)m_brBack.GetSafeHandle());
    return CreateEx(0, lpszClass, "host", WS_POPUP | WS_VISIBLE, CRect(0, 0, cx, cy), nullptr, 0);
}

LRESULT CRecordingHost::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    RecordMessage(m_pLog, "host", message, wParam, lParam);
    return CWnd::WindowProc(message, wParam, lParam);
}

void ControlsTest::SetUp() {
    m_pBackend.reset(new CHeadlessBackend(SCREEN_WIDTH, SCREEN_HEIGHT));
    AfxSetBackend(m_pBackend.get());
    // The current cursor outlives a backend; start every screen from the arrow.
    ::SetCursor(nullptr);
    RegisterProgramResources();
    ASSERT_TRUE(m_host.CreateHost(SCREEN_WIDTH, SCREEN_HEIGHT));
    m_host.m_pLog = &m_log;
    Pump();
}

void ControlsTest::TearDown() {
    // SLIDESHOW_UI_SCREENSHOTS keeps a picture of every test, not only of failed ones.
    if (HasFailure() || std::getenv("SLIDESHOW_UI_SCREENSHOTS")) {
        const ::testing::TestInfo* pInfo = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string path = std::string(SLIDESHOW_BINARY_DIR) +
                                 (HasFailure() ? "/ui-failure-" : "/ui-") +
                                 pInfo->test_suite_name() + "." + pInfo->name() + ".png";
        m_pBackend->SaveScreenshot(path.c_str());
    }
    m_host.m_pLog = nullptr;
    if (::IsWindow(m_host.GetSafeHwnd()))
        m_host.DestroyWindow();
    Pump();
    AfxSetBackend(nullptr);
}

void ControlsTest::Pump() {
    AfxPumpUntilIdle();
}

int ControlsTest::CountOther(const CRect& rc, COLORREF cr) const {
    int nCount = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            if (Pixel(x, y) != cr)
                ++nCount;
    return nCount;
}

CRect ControlsTest::InkBounds(const CRect& rc, COLORREF crBack) const {
    CRect rcInk(rc.right, rc.bottom, rc.left, rc.top);
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            if (Pixel(x, y) != crBack) {
                rcInk.left = std::min<LONG>(rcInk.left, x);
                rcInk.top = std::min<LONG>(rcInk.top, y);
                rcInk.right = std::max<LONG>(rcInk.right, x + 1);
                rcInk.bottom = std::max<LONG>(rcInk.bottom, y + 1);
            }
    return rcInk;
}
