#include "tools/pack/TerminalText.h"

#include <cstdio>

namespace {
std::string Hex(const char* format, unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// The length of the well-formed UTF-8 sequence at `i`, or 0.
size_t SequenceAt(const std::string& s, size_t i) {
    const unsigned char c = (unsigned char)s[i];
    const size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > s.size())
        return 0;
    for (size_t k = 1; k < n; ++k)
        if (((unsigned char)s[i + k] >> 6) != 2)
            return 0;
    return n;
}
} // namespace

std::string CTerminalText::Escape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = (unsigned char)text[i];
        const size_t n = SequenceAt(text, i);
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else if (c < 0x20 || c == 0x7F)
            out += Hex("\\x%02x", c);
        else if (n == 0)
            out += Hex("\\x%02x", c);
        else if (n == 2 && c == 0xC2 && (unsigned char)text[i + 1] < 0xA0)
            out += Hex("\\u%04x", (unsigned char)text[i + 1]); // C1 controls, U+0080 to U+009F
        else
            out.append(text, i, n);
        i += n == 0 ? 1 : n;
    }
    return out;
}
