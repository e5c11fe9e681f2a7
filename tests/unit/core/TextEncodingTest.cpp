#include <gtest/gtest.h>

#include "framework/core/TextEncoding.h"

TEST(TextEncoding, Windows1252ToUtf8) {
    struct Case {
        std::vector<BYTE> ansi;
        const char* utf8;
    } cases[] = {
        {{}, ""},
        {{'A', 'z', '~', 0x7F}, "Az~\x7F"},
        {{0x80}, "\xE2\x82\xAC"},           // euro sign
        {{0x8A, 0x9F}, "\xC5\xA0\xC5\xB8"}, // S caron, Y diaeresis
        {{0x93, 0x94}, "\xE2\x80\x9C\xE2\x80\x9D"},
        {{0x81, 0x8D, 0x8F, 0x90, 0x9D}, "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},
        {{0xA0, 0xE9, 0xFF}, "\xC2\xA0\xC3\xA9\xC3\xBF"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AnsiToUtf8(c.ansi.data(), c.ansi.size()), c.utf8);
        std::string back;
        EXPECT_TRUE(Utf8ToAnsi(CString(c.utf8), back)) << c.utf8;
        EXPECT_EQ(back, std::string(c.ansi.begin(), c.ansi.end()));
    }
}

TEST(TextEncoding, Utf16ToUtf8) {
    struct Case {
        std::vector<BYTE> utf16le;
        const char* utf8;
    } cases[] = {
        {{'a', 0, 'b', 0}, "ab"},
        {{0xE9, 0x00, 0xAC, 0x20}, "\xC3\xA9\xE2\x82\xAC"},
        {{0x3D, 0xD8, 0x00, 0xDE}, "\xF0\x9F\x98\x80"}, // a pair
        {{0x00, 0xDE, 'x', 0},
         "\xEF\xBF\xBD"
         "x"},                                   // lone low half
        {{'x', 0, 0x3D, 0xD8}, "x\xEF\xBF\xBD"}, // high half at the end
        {{0x3D, 0xD8, 0x3D, 0xD8, 0x00, 0xDE}, "\xEF\xBF\xBD\xF0\x9F\x98\x80"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Utf16LeToUtf8(c.utf16le.data(), c.utf16le.size() / 2), c.utf8);
}

TEST(TextEncoding, Utf8WithoutAOneByteForm) {
    for (const char* text : {"\xE6\x97\xA5", "\xC4\x80", "\xEF\xBF\xBD", "\xF0\x9F\x98\x80", "\xFF",
                             "\xC3", "\xE0\x80\x80"}) {
        std::string ansi;
        EXPECT_FALSE(Utf8ToAnsi(CString(text), ansi)) << text;
    }
    EXPECT_EQ(Utf8ToUtf16(CString("a\xF0\x9F\x98\x80")), std::u16string(u"a\U0001F600"));
    EXPECT_EQ(Utf8ToUtf16(CString("\xC3x")), std::u16string(u"\uFFFDx"));
}
