// A picture's temporary file where $TMPDIR is missing, leaves no room for a file name, or
// cannot be written (a file size limit, as a full disk): Linux's own cases.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

#include "DataTestSupport.h"
#include "framework/system/MessageSink.h"
#include "res/ProgramResources.h"

namespace {

std::vector<CString> g_messages;
void CollectMessage(const CString& text) {
    g_messages.push_back(text);
}

// A collection of `n` entries on one record: a picture, then a one-image placeholder list.
CCollectionWriter PictureAndListCollection(int n) {
    ITEM_RECORD record = MakeItem("pic");
    record.bPicture = TRUE;
    record.jpeg = MakeJpeg(8, 8, [](int, int) { return (DWORD)0x20A040; });
    record.bImageList = TRUE;
    record.imageList.cx = record.imageList.cy = 1;
    record.imageList.nImages = 1;
    record.imageList.pixels = {0xFF00FF00};
    CCollectionWriter writer;
    writer.AddItem(record);
    for (int i = 1; i < n; i++)
        writer.AddEntryFor(0);
    return writer;
}

} // namespace

TEST(ItemPicture, AnUnusableTemporaryDirectoryGivesWayToTmp) {
    CScopedTempDir dir;
    CCollectionFile file;
    ASSERT_EQ(file.Open(WriteCollection(PictureAndListCollection(1), dir).c_str()), 1);
    ::setenv("TMPDIR", (dir.Path() + "/missing").c_str(), 1);
    g_messages.clear();
    AfxSetMessageSink(CollectMessage);
    std::unique_ptr<CCollectionItem> item(file.LoadItem(0));
    AfxSetMessageSink(nullptr);
    ASSERT_NE(item->GetPicture(), nullptr);
    EXPECT_TRUE(g_messages.empty());
    ASSERT_EQ(item->m_picture.GetTempFiles().GetSize(), 1);
    const CString path = item->m_picture.GetTempFiles()[0];
    EXPECT_EQ(path.Left(8), CString("/tmp/emE"));
    item.reset();
    EXPECT_NE(::access(path, F_OK), 0);
}

TEST(ItemPicture, NoTemporaryFileIsToldOncePerUserActionAndTheImageListIsTried) {
    RegisterProgramResources();
    CScopedTempDir dir;
    CCollectionFile file;
    ASSERT_EQ(file.Open(WriteCollection(PictureAndListCollection(3), dir).c_str()), 1);
    // A usable directory whose path leaves no room for a file name.
    const std::string deep = dir.Path() + "/" + std::string(250 - dir.Path().size() - 1, 'd');
    ASSERT_EQ(::mkdir(deep.c_str(), 0700), 0);
    ::setenv("TMPDIR", deep.c_str(), 1);
    g_messages.clear();
    AfxSetMessageSink(CollectMessage);
    AfxBeginUserAction();
    std::unique_ptr<CCollectionItem> items[3];
    for (int i = 0; i < 2; i++)
        items[i].reset(file.LoadItem(i));
    const size_t afterFirstAction = g_messages.size();
    AfxBeginUserAction();
    items[2].reset(file.LoadItem(2));
    AfxSetMessageSink(nullptr);
    EXPECT_EQ(afterFirstAction, 1u);
    ASSERT_EQ(g_messages.size(), 2u);
    EXPECT_EQ(g_messages[0], "Decompress Image Failed while getting Temporary Path name");
    for (const auto& item : items) {
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->GetPicture(), nullptr);
        EXPECT_EQ(item->m_picture.GetTempFiles().GetSize(), 0);
        EXPECT_EQ(item->GetImageList().GetImageCount(), 1);
    }
}

TEST(ItemPicture, ATemporaryFileThatCannotBeWrittenSaysWhyAndIsNotADamagedRecord) {
    RegisterProgramResources();
    CScopedTempDir dir;
    CCollectionFile file;
    ASSERT_EQ(file.Open(WriteCollection(PictureAndListCollection(2), dir).c_str()), 1);
    // A file size limit fails the write as a full disk does.
    rlimit saved;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit tiny = saved;
    tiny.rlim_cur = 100;
    ::signal(SIGXFSZ, SIG_IGN);
    g_messages.clear();
    AfxSetMessageSink(CollectMessage);
    AfxBeginUserAction();
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
    std::unique_ptr<CCollectionItem> first(file.LoadItem(0)), second(file.LoadItem(1));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, SIG_DFL);
    AfxSetMessageSink(nullptr);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->GetPicture(), nullptr);
    EXPECT_EQ(first->GetImageList().GetImageCount(), 1);
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_NE(g_messages[0].Find("could not be written: File too large"), -1)
        << g_messages[0].GetString();
    EXPECT_NE(g_messages[0].Find(dir.Path().c_str()), -1) << g_messages[0].GetString();
    first.reset();
    second.reset();
    EXPECT_TRUE(dir.Files().empty());
}
