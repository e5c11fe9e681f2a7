#include "tools/pack/ProgressBar.h"

#include <unistd.h>

#include <cstdio>

CProgressBar::CProgressBar(const std::string& label, size_t nTotal)
    : m_label(label), m_nTotal(nTotal), m_bVisible(::isatty(STDERR_FILENO) == 1 && nTotal > 0) {
    Draw();
}

CProgressBar::~CProgressBar() {
    if (m_bVisible)
        std::fputs("\r\033[K", stderr);
}

void CProgressBar::Step() {
    ++m_nDone;
    const int percent = m_nTotal ? (int)(m_nDone * 100 / m_nTotal) : 100;
    if (percent != m_nLastPercent) {
        m_nLastPercent = percent;
        Draw();
    }
}

void CProgressBar::Draw() const {
    if (!m_bVisible)
        return;
    const int width = 30;
    const int filled = m_nTotal ? (int)(m_nDone * width / m_nTotal) : width;
    std::fprintf(stderr, "\r%s [%.*s%*s] %zu/%zu", m_label.c_str(), filled,
                 "##############################", width - filled, "", m_nDone, m_nTotal);
    std::fflush(stderr);
}
