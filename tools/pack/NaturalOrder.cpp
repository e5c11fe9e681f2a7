#include "tools/pack/NaturalOrder.h"

#include <cctype>

namespace {
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Compares the digit runs starting at i and j and moves past them: leading zeros aside, the
// longer run is the larger number, and runs of one length compare digit by digit.
int CompareNumbers(const std::string& a, size_t& i, const std::string& b, size_t& j) {
    while (i < a.size() && a[i] == '0' && i + 1 < a.size() && IsDigit(a[i + 1]))
        ++i;
    while (j < b.size() && b[j] == '0' && j + 1 < b.size() && IsDigit(b[j + 1]))
        ++j;
    size_t ei = i, ej = j;
    while (ei < a.size() && IsDigit(a[ei]))
        ++ei;
    while (ej < b.size() && IsDigit(b[ej]))
        ++ej;
    int nResult = (int)(ei - i) - (int)(ej - j);
    if (nResult == 0)
        nResult = a.compare(i, ei - i, b, j, ej - j);
    i = ei, j = ej;
    return nResult;
}
} // namespace

bool CNaturalOrder::Less(const std::string& a, const std::string& b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            const int nResult = CompareNumbers(a, i, b, j);
            if (nResult != 0)
                return nResult < 0;
            continue;
        }
        const int ca = std::tolower((unsigned char)a[i]), cb = std::tolower((unsigned char)b[j]);
        if (ca != cb)
            return ca < cb;
        ++i, ++j;
    }
    if (i < a.size() || j < b.size())
        return j < b.size();
    return a < b; // names equal but for case or leading zeros still need one order
}
