// The slideshow: a timer steps through the items; the screen saver waits while it runs.
#include <algorithm>

#include "framework/backend/Backend.h"
#include "shell/ViewerDlg.h"

namespace {

const int DELAYS[] = {2, 3, 5, 8, 13};
const int DELAY_COUNT = (int)(sizeof(DELAYS) / sizeof(DELAYS[0]));
const UINT DELAY_TEXT_MS = 1500;

void EnableScreenSaver(bool bEnable) {
    if (CBackend* pBackend = AfxGetBackend())
        pBackend->EnableScreenSaver(bEnable);
}

} // namespace

int CViewerDlg::GetSlideshowDelay() const {
    return DELAYS[m_nDelayStep];
}

// Made when first needed, so that a window without a slideshow has no such child.
void CViewerDlg::CreateDelayText() {
    const CRect rect(m_nLeft + 10, m_nTop + 78, m_nLeft + 120, m_nTop + 98);
    m_delayText.Create("", WS_CHILD | SS_CENTER | SS_CENTERIMAGE, rect, this, 0xFFFF);
    m_delayText.SetFont(&m_listFont);
}

void CViewerDlg::StartSlideshow() {
    m_bSlideshow = TRUE;
    EnableScreenSaver(false);
    if (m_nav.GetRow() < CNavigation::ROW_FIRST_ITEM)
        Navigate(m_nav.PickRow(CNavigation::ROW_FIRST_ITEM));
    SetTimer(TIMER_SLIDESHOW, GetSlideshowDelay() * 1000, nullptr);
    ShowDelayText();
}

void CViewerDlg::StopSlideshow() {
    m_bSlideshow = FALSE;
    KillTimer(TIMER_SLIDESHOW);
    EnableScreenSaver(true);
}

// Unlike NEXT, the show leaves out Comments and Thumbnails: after the last item the first.
void CViewerDlg::SlideshowStep() {
    const int nRow = m_nav.GetRow();
    if (nRow < CNavigation::ROW_FIRST_ITEM || nRow == m_nav.GetLastRow())
        Navigate(m_nav.PickRow(CNavigation::ROW_FIRST_ITEM));
    else
        Navigate(m_nav.Next());
}

void CViewerDlg::ChangeSlideshowDelay(int nSteps) {
    m_nDelayStep = std::max(0, std::min(DELAY_COUNT - 1, m_nDelayStep + nSteps));
    if (m_bSlideshow)
        SetTimer(TIMER_SLIDESHOW, GetSlideshowDelay() * 1000, nullptr);
    ShowDelayText();
}

void CViewerDlg::ShowDelayText() {
    CString strText;
    strText.Format("Slideshow: %d s", GetSlideshowDelay());
    if (m_delayText.GetSafeHwnd() == nullptr)
        CreateDelayText();
    m_delayText.SetWindowText(strText);
    m_delayText.BringWindowToTop();
    m_delayText.ShowWindow(SW_SHOW);
    m_delayText.Invalidate();
    SetTimer(TIMER_DELAY_TEXT, DELAY_TEXT_MS, nullptr);
}

void CViewerDlg::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == TIMER_SLIDESHOW && m_bSlideshow && IsWindowEnabled()) {
        SlideshowStep();
    } else if (nIDEvent == TIMER_DELAY_TEXT) {
        KillTimer(TIMER_DELAY_TEXT);
        if (m_delayText.GetSafeHwnd() != nullptr)
            m_delayText.ShowWindow(SW_HIDE);
    } else if (nIDEvent == TIMER_DECODE_AHEAD) {
        KillTimer(TIMER_DECODE_AHEAD);
        DecodeAhead();
    }
}
