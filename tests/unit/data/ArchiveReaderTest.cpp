#include <gtest/gtest.h>

#include <memory>

#include "DataTestSupport.h"
#include "data/ArchiveReader.h"

namespace {

// A reader over the given bytes, read from a real file.
class ArchiveBytes {
public:
    explicit ArchiveBytes(const std::vector<BYTE>& bytes) {
        const std::string path = m_dir.Path() + "/stream";
        WriteFileBytes(path, bytes);
        EXPECT_TRUE(m_file.Open(path.c_str(), CFile::modeRead | CFile::typeBinary));
        m_reader = std::make_unique<CArchiveReader>(&m_file);
    }
    CArchiveReader& operator*() { return *m_reader; }
    CArchiveReader* operator->() { return m_reader.get(); }

private:
    CScopedTempDir m_dir;
    CFile m_file;
    std::unique_ptr<CArchiveReader> m_reader;
};

std::vector<BYTE> Concat(std::vector<BYTE> a, const std::vector<BYTE>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

bool RaisesEndOfFile(const std::vector<BYTE>& bytes, void (*read)(CArchiveReader&)) {
    ArchiveBytes ar(bytes);
    try {
        read(*ar);
    } catch (const CArchiveException& e) {
        return e.m_cause == CArchiveException::endOfFile;
    }
    return false;
}

} // namespace

TEST(ArchiveReader, StringLengthPrefixes) {
    struct Case {
        std::vector<BYTE> prefix;
        DWORD length;
    } cases[] = {
        {{0x00}, 0},
        {{0x03}, 3},
        {{0xFE}, 254},
        {{0xFF, 0xFF, 0x00}, 255},
        {{0xFF, 0x2C, 0x01}, 300},
        {{0xFF, 0xFD, 0xFF}, 65533},
        {{0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}, 70000},
        {{0xFF, 0xFF, 0xFF, 0x03, 0x00, 0x00, 0x00}, 3},
    };
    for (const Case& c : cases) {
        ArchiveBytes ar(Concat(c.prefix, std::vector<BYTE>(c.length, 'x')));
        CString s;
        *ar >> s;
        EXPECT_EQ((DWORD)s.GetLength(), c.length) << "prefix length " << c.prefix.size();
        EXPECT_EQ(ar->GetRemaining(), 0u);
    }
}

TEST(ArchiveReader, StringTextEncodings) {
    struct Case {
        std::vector<BYTE> bytes;
        const char* utf8;
    } cases[] = {
        {{0x03, 'a', 'b', 'c'}, "abc"},
        {{0xFF, 0xFE, 0xFF, 0x03, 'a', 0, 'b', 0, 'c', 0}, "abc"},
        // Windows-1252: e acute, euro sign, the undefined 0x81 kept as U+0081.
        {{0x03, 0xE9, 0x80, 0x81}, "\xC3\xA9\xE2\x82\xAC\xC2\x81"},
        // UTF-16 beyond the one-byte code page, a surrogate pair, an unpaired surrogate.
        {{0xFF, 0xFE, 0xFF, 0x02, 0x2C, 0x67, 0x3D, 0xD8}, "\xE6\x9C\xAC\xEF\xBF\xBD"},
        {{0xFF, 0xFE, 0xFF, 0x02, 0x3D, 0xD8, 0x00, 0xDE}, "\xF0\x9F\x98\x80"},
        // UTF-16 with a word-sized inner prefix.
        {{0xFF, 0xFE, 0xFF, 0xFF, 0x01, 0x00, 'z', 0}, "z"},
    };
    for (const Case& c : cases) {
        ArchiveBytes ar(c.bytes);
        CString s;
        *ar >> s;
        EXPECT_EQ(s, c.utf8);
    }
}

TEST(ArchiveReader, IntegersAndCounts) {
    ArchiveBytes ar({0x7F, 0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0x05, 0x00, 0xFE, 0xFF, 0xFF,
                     0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00});
    EXPECT_EQ(ar->ReadByte(), 0x7F);
    EXPECT_EQ(ar->ReadWord(), 0x1234);
    EXPECT_EQ(ar->ReadDword(), 0x12345678u);
    EXPECT_EQ(ar->ReadCount(), 5u);
    EXPECT_EQ(ar->ReadCount(), 65534u);
    EXPECT_EQ(ar->ReadCount(), 65535u);
    EXPECT_EQ(ar->ReadCount(), 70000u);
}

TEST(ArchiveReader, StringArrays) {
    ArchiveBytes ar({0x00, 0x00, 0x02, 0x00, 0x01, 'a', 0x00});
    CStringArray empty, two;
    empty.Add("stale");
    ar->ReadStringArray(empty);
    ar->ReadStringArray(two);
    EXPECT_EQ(empty.GetSize(), 0);
    ASSERT_EQ(two.GetSize(), 2);
    EXPECT_EQ(two[0], "a");
    EXPECT_EQ(two[1], "");
}

TEST(ArchiveReader, ValuesStraddlingTheBufferAreReadWhole) {
    std::vector<BYTE> bytes(4094, 0x00);
    const std::vector<BYTE> tail = {0x78, 0x56, 0x34, 0x12, 0x05, 'h', 'e', 'l', 'l', 'o'};
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    ArchiveBytes ar(bytes);
    std::vector<BYTE> skip(4093);
    EXPECT_EQ(ar->Read(skip.data(), 4093), 4093u);
    EXPECT_EQ(ar->ReadByte(), 0);
    EXPECT_EQ(ar->ReadDword(), 0x12345678u);
    CString s;
    *ar >> s;
    EXPECT_EQ(s, "hello");
}

TEST(ArchiveReader, ReadDrainsTheBufferThenTheFileAndStopsAtTheEnd) {
    std::vector<BYTE> bytes(10000);
    for (size_t i = 0; i < bytes.size(); i++)
        bytes[i] = (BYTE)(i * 7);
    ArchiveBytes ar(bytes);
    EXPECT_EQ(ar->ReadByte(), bytes[0]);
    std::vector<BYTE> rest(20000);
    EXPECT_EQ(ar->Read(rest.data(), 20000), 9999u);
    EXPECT_TRUE(std::equal(bytes.begin() + 1, bytes.end(), rest.begin()));
    EXPECT_EQ(ar->Read(rest.data(), 5), 0u);
}

TEST(ArchiveReader, ShortOrOversizedInputRaisesEndOfFile) {
    struct Case {
        const char* what;
        std::vector<BYTE> bytes;
        void (*read)(CArchiveReader&);
    } cases[] = {
        {"byte", {}, [](CArchiveReader& ar) { ar.ReadByte(); }},
        {"word", {0x01}, [](CArchiveReader& ar) { ar.ReadWord(); }},
        {"dword cut in the middle", {0x01, 0x02, 0x03}, [](CArchiveReader& ar) { ar.ReadDword(); }},
        {"count", {0xFF, 0xFF, 0x01}, [](CArchiveReader& ar) { ar.ReadCount(); }},
        {"string prefix",
         {0xFF, 0x01},
         [](CArchiveReader& ar) {
             CString s;
             ar >> s;
         }},
        {"string characters",
         {0x05, 'a', 'b'},
         [](CArchiveReader& ar) {
             CString s;
             ar >> s;
         }},
        {"utf-16 characters",
         {0xFF, 0xFE, 0xFF, 0x02, 'a', 0, 'b'},
         [](CArchiveReader& ar) {
             CString s;
             ar >> s;
         }},
        {"second utf-16 mark",
         {0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF, 0x01, 'a', 0},
         [](CArchiveReader& ar) {
             CString s;
             ar >> s;
         }},
        {"4 GiB string",
         {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a'},
         [](CArchiveReader& ar) {
             CString s;
             ar >> s;
         }},
        {"huge array",
         {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x00},
         [](CArchiveReader& ar) {
             CStringArray a;
             ar.ReadStringArray(a);
         }},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(RaisesEndOfFile(c.bytes, c.read)) << c.what;
}
