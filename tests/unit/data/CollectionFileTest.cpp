#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <memory>

#include "DataTestSupport.h"

namespace {

std::unique_ptr<CCollectionItem> Load(CCollectionFile& file, int index) {
    return std::unique_ptr<CCollectionItem>(file.LoadItem(index));
}

std::vector<BYTE> Le32(LONG v) {
    return {(BYTE)v, (BYTE)(v >> 8), (BYTE)(v >> 16), (BYTE)(v >> 24)};
}

std::vector<BYTE> Concat2(std::vector<BYTE> a, const std::vector<BYTE>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace

TEST(CollectionFile, OpensTheTrailerAndLoadsItemsByPosition) {
    CScopedTempDir dir;
    CCollectionWriter writer;
    writer.SetPrefix(std::vector<BYTE>(5000, 0x7F)); // stands in for the executable
    writer.SetHeader("1.1 (build 7)");
    for (const char* tag : {"first", "second", "third"})
        writer.AddItem(MakeItem(tag));
    const std::vector<BYTE> bytes = writer.Build();
    const std::vector<BYTE> trailer(bytes.end() - 8, bytes.end() - 4);
    EXPECT_EQ(trailer, Le32(3));

    CCollectionFile file;
    ASSERT_EQ(file.Open(WriteCollection(writer, dir).c_str()), 1);
    EXPECT_EQ(file.GetItemCount(), 3);
    EXPECT_EQ(file.GetHeader(), "1.1 (build 7)");
    EXPECT_EQ(Load(file, 3), nullptr);
    EXPECT_EQ(Load(file, -1), nullptr);
    auto third = Load(file, 2);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(third->m_strName, "third 0");
    EXPECT_EQ(third->m_strCreatedBy, "third 7");
    EXPECT_EQ(Load(file, 0)->m_strComments, "first 4");

    CString name;
    EXPECT_TRUE(file.LoadItemName(1, name));
    EXPECT_EQ(name, "second 0");
    EXPECT_FALSE(file.LoadItemName(3, name));
    EXPECT_FALSE(file.LoadItemName(-1, name));
}

TEST(CollectionFile, LayoutVariantsLoadTheSameItems) {
    struct Case {
        const char* what;
        bool bIndexFirst;
        const char* header;
    } cases[] = {
        {"index after the records", false, "v"},
        {"index before the records", true, "v"},
        {"empty header", false, ""},
        {"empty header, index first", true, ""},
    };
    for (const Case& c : cases) {
        CScopedTempDir dir;
        CCollectionWriter writer;
        writer.SetHeader(c.header);
        writer.SetIndexFirst(c.bIndexFirst);
        writer.AddItem(MakeItem("a"));
        writer.AddItem(MakeItem("b"));
        writer.AddEntryFor(0); // two table entries at one position
        CCollectionFile file;
        ASSERT_EQ(file.Open(WriteCollection(writer, dir).c_str()), 1) << c.what;
        EXPECT_EQ(file.GetHeader(), c.header) << c.what;
        ASSERT_EQ(file.GetItemCount(), 3) << c.what;
        auto first = Load(file, 0), again = Load(file, 2), second = Load(file, 1);
        ASSERT_TRUE(first && again && second) << c.what;
        EXPECT_NE(first.get(), again.get());
        EXPECT_EQ(again->m_strName, "a 0") << c.what;
        EXPECT_EQ(again->m_strCreatedBy, first->m_strCreatedBy) << c.what;
        EXPECT_EQ(second->m_strName, "b 0") << c.what;
    }
}

TEST(CollectionFile, NoItemsOrNoFileGivesZero) {
    CScopedTempDir dir;
    for (LONG count : {0, -1, (LONG)0x80000000}) {
        CCollectionWriter writer;
        writer.AddItem(MakeItem("x"));
        writer.SetTrailerCount(count);
        CCollectionFile file;
        EXPECT_EQ(file.Open(WriteCollection(writer, dir).c_str()), 0) << count;
        EXPECT_EQ(file.GetItemCount(), 0);
        EXPECT_EQ(file.GetHeader(), "");
    }
    const std::vector<std::vector<BYTE>> tooShort = {
        {}, {0x01, 0x00, 0x00}, {0x01, 0x00, 0x00, 0x00, 0x00}};
    for (const auto& bytes : tooShort) {
        WriteFileBytes(dir.Path() + "/short", bytes);
        CCollectionFile file;
        EXPECT_EQ(file.Open((dir.Path() + "/short").c_str()), 0) << bytes.size();
    }
    CCollectionFile missing;
    EXPECT_EQ(missing.Open((dir.Path() + "/no such file").c_str()), 0);
    CCollectionFile directory;
    EXPECT_EQ(directory.Open(dir.Path().c_str()), 0);
}

TEST(CollectionFile, DamagedIndexRaisesTheArchiveError) {
    CScopedTempDir dir;
    struct Case {
        const char* what;
        std::vector<BYTE> bytes;
    } cases[] = {
        {"index offset past the end", Concat2(Le32(1), Le32(1000))},
        {"negative index offset", Concat2(Le32(1), Le32(-5))},
        {"table longer than the file",
         Concat2(std::vector<BYTE>{0x00}, Concat2(Le32(0x7FFFFFFF), Le32(0)))},
        {"header longer than the file",
         Concat2(std::vector<BYTE>{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F},
                 Concat2(Le32(1), Le32(0)))},
    };
    for (const Case& c : cases) {
        WriteFileBytes(dir.Path() + "/damaged", c.bytes);
        CCollectionFile file;
        EXPECT_THROW(file.Open((dir.Path() + "/damaged").c_str()), CArchiveException) << c.what;
        EXPECT_EQ(file.GetItemCount(), 0) << c.what;
    }
}

TEST(CollectionFile, DamagedRecordsRaiseTheArchiveErrorOrLoadSafely) {
    CScopedTempDir dir;
    ITEM_RECORD item = MakeItem("cut");
    item.detailNames.Add("Weight");
    item.detailValues.Add("12 g");
    item.bImageList = TRUE;
    item.imageList.cx = item.imageList.cy = 2;
    item.imageList.nImages = 1;
    item.imageList.pixels.assign(4, 0xFF102030);
    const std::vector<BYTE> record = CCollectionWriter::EncodeItem(item);

    CCollectionWriter writer;
    writer.AddEntryAt(0x7FFFFFF0); // a position past the end
    for (size_t cut = 0; cut < record.size(); cut++)
        writer.AddRecordBytes(std::vector<BYTE>(record.begin(), record.begin() + (long)cut));
    CCollectionFile file;
    ASSERT_EQ(file.Open(WriteCollection(writer, dir).c_str()), 1);
    EXPECT_THROW(Load(file, 0), CArchiveException);
    int nRaised = 0;
    for (int i = 1; i < file.GetItemCount(); i++) {
        // A cut record runs on into the next records; what it reads there is its own business,
        // but it must end in an item or the archive error.
        try {
            Load(file, i);
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
            nRaised++;
        }
    }
    EXPECT_GT(nRaised, 0);
    EXPECT_TRUE(dir.Files().empty());
}

TEST(CollectionFile, AppendedToACopyOfAnExecutable) {
    CScopedTempDir dir;
    const std::vector<BYTE> program = {0x7F, 'E', 'L', 'F', 1, 2, 3, 4, 5};
    WriteFileBytes(dir.Path() + "/program", program);
    CCollectionWriter writer;
    ASSERT_TRUE(writer.SetPrefixFromFile((dir.Path() + "/program").c_str()));
    EXPECT_FALSE(writer.SetPrefixFromFile((dir.Path() + "/missing").c_str()));
    writer.AddItem(MakeItem("only"));
    const std::string path = WriteCollection(writer, dir);
    const std::vector<BYTE> bytes = ReadFileBytes(path);
    ASSERT_GT(bytes.size(), program.size());
    EXPECT_TRUE(std::equal(program.begin(), program.end(), bytes.begin()));
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0755u);
    CCollectionFile file;
    ASSERT_EQ(file.Open(path.c_str()), 1);
    EXPECT_EQ(std::unique_ptr<CCollectionItem>(file.LoadItem(0))->m_strName, "only 0");
}
