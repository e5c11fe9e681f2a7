#include "framework/window/PaintDC.h"

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) {
    Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC() {
    // The context belongs to the window's painting, which ends it.
    Detach();
    ::EndPaint(m_hWnd, &m_ps);
}
