#include "framework/core/TextEncoding.h"

namespace {

// Unicode values of bytes 0x80-0x9F in Windows-1252; the holes keep their own value.
const char16_t g_cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

const char32_t REPLACEMENT = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += (char)c;
    } else if (c < 0x800) {
        out += (char)(0xC0 | (c >> 6));
        out += (char)(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += (char)(0xE0 | (c >> 12));
        out += (char)(0x80 | ((c >> 6) & 0x3F));
        out += (char)(0x80 | (c & 0x3F));
    } else {
        out += (char)(0xF0 | (c >> 18));
        out += (char)(0x80 | ((c >> 12) & 0x3F));
        out += (char)(0x80 | ((c >> 6) & 0x3F));
        out += (char)(0x80 | (c & 0x3F));
    }
}

char32_t AnsiToCodePoint(BYTE b) {
    return (b >= 0x80 && b < 0xA0) ? g_cp1252High[b - 0x80] : b;
}

// Decodes one character at `pos` and advances past it; REPLACEMENT for a malformed sequence
// (which then consumes one byte).
char32_t NextCodePoint(const std::string& s, size_t& pos) {
    const BYTE lead = (BYTE)s[pos++];
    if (lead < 0x80)
        return lead;
    int extra = 0;
    char32_t c = 0, min = 0;
    if ((lead & 0xE0) == 0xC0)
        extra = 1, c = lead & 0x1F, min = 0x80;
    else if ((lead & 0xF0) == 0xE0)
        extra = 2, c = lead & 0x0F, min = 0x800;
    else if ((lead & 0xF8) == 0xF0)
        extra = 3, c = lead & 0x07, min = 0x10000;
    else
        return REPLACEMENT;
    if (pos + (size_t)extra > s.size())
        return REPLACEMENT;
    for (int i = 0; i < extra; i++) {
        const BYTE b = (BYTE)s[pos + (size_t)i];
        if ((b & 0xC0) != 0x80)
            return REPLACEMENT;
        c = (c << 6) | (b & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return REPLACEMENT;
    pos += (size_t)extra;
    return c;
}

} // namespace

CString AnsiToUtf8(const BYTE* text, size_t nBytes) {
    std::string out;
    out.reserve(nBytes);
    for (size_t i = 0; i < nBytes; i++)
        AppendUtf8(out, AnsiToCodePoint(text[i]));
    return CString(std::move(out));
}

CString Utf16LeToUtf8(const BYTE* text, size_t nUnits) {
    std::string out;
    out.reserve(nUnits);
    for (size_t i = 0; i < nUnits; i++) {
        const char32_t unit = (char32_t)(text[2 * i] | (text[2 * i + 1] << 8));
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < nUnits) {
            const char32_t low = (char32_t)(text[2 * i + 2] | (text[2 * i + 3] << 8));
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                i++;
                continue;
            }
        }
        AppendUtf8(out, (unit >= 0xD800 && unit <= 0xDFFF) ? REPLACEMENT : unit);
    }
    return CString(std::move(out));
}

BOOL Utf8ToAnsi(const CString& text, std::string& out) {
    const std::string& s = text.Str();
    out.clear();
    out.reserve(s.size());
    for (size_t pos = 0; pos < s.size();) {
        // Malformed input decodes to U+FFFD, which has no one-byte form either.
        const char32_t c = NextCodePoint(s, pos);
        int found = -1;
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
            found = (int)c;
        for (int i = 0; found < 0 && i < 32; i++)
            if (g_cp1252High[i] == c)
                found = 0x80 + i;
        if (found < 0)
            return FALSE;
        out += (char)found;
    }
    return TRUE;
}

std::u16string Utf8ToUtf16(const CString& text) {
    const std::string& s = text.Str();
    std::u16string out;
    out.reserve(s.size());
    for (size_t pos = 0; pos < s.size();) {
        const char32_t c = NextCodePoint(s, pos);
        if (c >= 0x10000) {
            out += (char16_t)(0xD800 + ((c - 0x10000) >> 10));
            out += (char16_t)(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += (char16_t)c;
        }
    }
    return out;
}
