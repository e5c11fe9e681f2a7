// A one-line progress bar on standard error, drawn only when that is a terminal.
#pragma once

#include <string>

class CProgressBar {
public:
    CProgressBar(const std::string& label, size_t nTotal);
    ~CProgressBar();
    void Step();

private:
    void Draw() const;

    std::string m_label;
    size_t m_nTotal;
    size_t m_nDone = 0;
    int m_nLastPercent = -1;
    bool m_bVisible;
};
