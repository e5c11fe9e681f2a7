#include <gtest/gtest.h>

#include <memory>

#include "DataTestSupport.h"

namespace {

DWORD Orange(int, int) {
    return 0xFF8000;
}

IMAGELIST_DATA TwoImages() {
    IMAGELIST_DATA list;
    list.cx = 3;
    list.cy = 2;
    list.nImages = 2;
    list.bMask = TRUE;
    // The stream stores transparent pixels black.
    for (int i = 0; i < 12; i++) {
        list.mask.push_back(i % 5 == 0);
        list.pixels.push_back(0xFF000000u | (i % 5 == 0 ? 0 : (DWORD)i * 0x010203u));
    }
    return list;
}

// Writes the items into one collection and loads them back in order.
std::vector<std::unique_ptr<CCollectionItem>> RoundTrip(const std::vector<ITEM_RECORD>& items) {
    CScopedTempDir dir;
    CCollectionWriter writer;
    for (const ITEM_RECORD& item : items)
        writer.AddItem(item);
    CCollectionFile file;
    EXPECT_EQ(file.Open(WriteCollection(writer, dir).c_str()), 1);
    std::vector<std::unique_ptr<CCollectionItem>> loaded;
    for (int i = 0; i < file.GetItemCount(); i++)
        loaded.emplace_back(file.LoadItem(i));
    return loaded;
}

} // namespace

TEST(CollectionItem, TextsInEveryFormReadBack) {
    const char* texts[] = {"", "Teapot", "Caf\xC3\xA9 \xE2\x82\xAC 5",
                           "\xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80", "line\r\nbreak"};
    std::vector<ITEM_RECORD> items;
    for (STRING_FORM form : {STRING_AUTO, STRING_UTF16}) {
        for (const char* text : texts) {
            ITEM_RECORD item = MakeItem("t");
            item.m_strComments = text;
            item.m_strName = text;
            item.stringForm = form;
            items.push_back(item);
        }
    }
    ITEM_RECORD longText = MakeItem("long");
    longText.m_strComments = CString(std::string(70000, 'c'));
    items.push_back(longText);

    const auto loaded = RoundTrip(items);
    ASSERT_EQ(loaded.size(), items.size());
    for (size_t i = 0; i < items.size(); i++) {
        EXPECT_EQ(loaded[i]->m_strName, items[i].m_strName) << i;
        EXPECT_EQ(loaded[i]->m_strComments, items[i].m_strComments) << i;
        EXPECT_EQ(loaded[i]->m_strCreatedBy, items[i].m_strCreatedBy) << i;
    }
}

TEST(CollectionItem, Details) {
    ITEM_RECORD none = MakeItem("none");
    ITEM_RECORD three = MakeItem("three");
    for (const char* n : {"Country", "Year", "Grade"})
        three.detailNames.Add(n);
    for (const char* v : {"France", "", "Fine"})
        three.detailValues.Add(v);
    ITEM_RECORD shortValues = MakeItem("short");
    shortValues.detailNames.Add("Maker");
    shortValues.detailNames.Add("Size");
    shortValues.detailValues.Add("Acme");
    const auto loaded = RoundTrip({none, three, shortValues});

    CString name = "unchanged", value = "unchanged";
    EXPECT_EQ(loaded[0]->GetDetailCount(), 0);
    EXPECT_EQ(loaded[0]->GetDetail(0, name, value), 0);

    EXPECT_EQ(loaded[1]->GetDetailCount(), 3);
    for (int bad : {-1, 3}) {
        EXPECT_EQ(loaded[1]->GetDetail(bad, name, value), 0);
        EXPECT_EQ(name, "unchanged");
        EXPECT_EQ(value, "unchanged");
    }
    EXPECT_EQ(loaded[1]->GetDetail(1, name, value), 1);
    EXPECT_EQ(name, "Year");
    EXPECT_EQ(value, "");
    EXPECT_EQ(loaded[1]->GetDetail(2, name, value), 1);
    EXPECT_EQ(value, "Fine");

    EXPECT_EQ(loaded[2]->GetDetailCount(), 2);
    EXPECT_EQ(loaded[2]->GetDetail(1, name, value), 1);
    EXPECT_EQ(name, "Size");
    EXPECT_EQ(value, "");
}

TEST(CollectionItem, PictureOrPlaceholderImage) {
    ITEM_RECORD placeholder = MakeItem("placeholder");
    placeholder.bImageList = TRUE;
    placeholder.imageList = TwoImages();
    ITEM_RECORD picture = MakeItem("picture");
    picture.bPicture = TRUE;
    picture.jpeg = MakeJpeg(5, 4, Orange);
    ITEM_RECORD broken = MakeItem("broken"); // a picture that does not decode, then the list
    broken.bPicture = TRUE;
    broken.jpeg = {0xFF, 0xD8, 0x00, 0x01};
    broken.bImageList = TRUE;
    broken.imageList = TwoImages();
    ITEM_RECORD neither = MakeItem("neither");
    neither.bPicture = TRUE; // empty picture and no list
    ITEM_RECORD after = MakeItem("after");

    testing::internal::CaptureStderr();
    const auto loaded = RoundTrip({placeholder, picture, broken, neither, after});
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(loaded.size(), 5u);

    EXPECT_EQ(loaded[0]->GetPicture(), nullptr);
    CImageList copy;
    EXPECT_NE(loaded[0]->CopyImageList(&copy), 0);
    ASSERT_EQ(copy.GetImageCount(), 2);
    EXPECT_EQ(copy.GetData()->pixels, TwoImages().pixels);
    EXPECT_EQ(copy.GetData()->mask, TwoImages().mask);

    ASSERT_NE(loaded[1]->GetPicture(), nullptr);
    EXPECT_EQ(loaded[1]->CopyImageList(&copy), 0);
    EXPECT_EQ(copy.GetSafeHandle(), nullptr);

    EXPECT_EQ(loaded[2]->GetPicture(), nullptr);
    EXPECT_NE(loaded[2]->CopyImageList(&copy), 0);
    EXPECT_EQ(copy.GetImageCount(), 2);

    EXPECT_EQ(loaded[3]->GetPicture(), nullptr);
    EXPECT_EQ(loaded[3]->CopyImageList(&copy), 0);
    EXPECT_EQ(loaded[4]->m_strName, "after 0");
}

// The record's text order written out by hand, not through the shared field table, so that
// a reordered table fails here even though writer and reader would still agree.
TEST(CollectionItem, TextsKeepTheirPlaceInTheRecord) {
    const char* inOrder[] = {"name",     "line 1", "third", "line 2",
                             "comments", "title",  "date",  "creator"};
    CStreamWriter bytes;
    for (const char* text : inOrder)
        bytes.WriteString(text);
    bytes.WriteCount(0);
    bytes.WriteCount(0);
    bytes.WritePicture(FALSE, {});
    bytes.WriteImageList(TwoImages());

    ITEM_RECORD record;
    record.m_strName = "name";
    record.m_strLine1 = "line 1";
    record.m_strField2 = "third";
    record.m_strLine2 = "line 2";
    record.m_strComments = "comments";
    record.m_strCollectionTitle = "title";
    record.m_strDateCreated = "date";
    record.m_strCreatedBy = "creator";
    record.bImageList = TRUE;
    record.imageList = TwoImages();
    EXPECT_EQ(CCollectionWriter::EncodeItem(record), bytes.GetBytes());

    CScopedTempDir dir;
    CCollectionWriter writer;
    writer.AddRecordBytes(bytes.GetBytes());
    CCollectionFile file;
    ASSERT_EQ(file.Open(WriteCollection(writer, dir).c_str()), 1);
    std::unique_ptr<CCollectionItem> item(file.LoadItem(0));
    ASSERT_NE(item, nullptr);
    const CString loaded[] = {item->m_strName,        item->m_strLine1,
                              item->m_strField2,      item->m_strLine2,
                              item->m_strComments,    item->m_strCollectionTitle,
                              item->m_strDateCreated, item->m_strCreatedBy};
    for (int i = 0; i < 8; i++)
        EXPECT_EQ(loaded[i], inOrder[i]) << i;
}
