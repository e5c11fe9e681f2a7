// The item NEXT (or PREVIOUS) would show is decoded ahead while the program is idle: the step
// then shows exactly what a step without it shows, going anywhere else lets it go, it holds one
// picture more and no temporary file, and a neighbour that fails says so only when shown.
#include <sys/stat.h>
#include <unistd.h>

#include "framework/gdi/PixelMemory.h"
#include "framework/system/MessageSink.h"
#include "framework/system/TempFile.h"
#include "shell/ShellFixture.h"

namespace {

const int ITEM_COUNT = 5;
// Larger than the image view's 800 × 475, so that both views decode it reduced.
const int PICTURE_WIDTH = 960, PICTURE_HEIGHT = 720;

std::string WriteLargeItems(const CScopedTempDir& dir, int nCount) {
    CCollectionWriter writer;
    writer.SetHeader("1.0 test");
    for (int i = 0; i < nCount; ++i) {
        ITEM_RECORD item = MakeTestItem(i, ItemColour(i));
        item.jpeg = MakeLargeBandedJpeg(PICTURE_WIDTH, PICTURE_HEIGHT, ItemColour(i));
        writer.AddItem(item);
    }
    return WriteTestCollection(writer, dir);
}

// A command as its control sends it, without the idle turn after it.
void SendCommand(CViewerHarness& run, UINT nID) {
    CWnd* pControl = run.Dlg().GetDlgItem((int)nID);
    run.Dlg().SendMessage(WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED),
                          (LPARAM)(pControl != nullptr ? pControl->GetSafeHwnd() : nullptr));
}

void SendPick(CViewerHarness& run, int nRow) {
    run.List().SetCurSel(nRow);
    run.Dlg().SendMessage(WM_COMMAND, MAKEWPARAM(ID_ITEM_LIST, CBN_SELCHANGE),
                          (LPARAM)run.List().GetSafeHwnd());
}

COLORREF CentreOf(CViewerHarness& run, CWnd& wnd) {
    const CRect rc = WindowRectOf(wnd);
    return run.Screen().GetPixel(rc.CenterPoint().x, rc.CenterPoint().y);
}

// The image view shows item i: its colour in the middle, its row in the list.
void ExpectImageOf(CViewerHarness& run, int i) {
    ASSERT_EQ(run.View(), 'I');
    EXPECT_EQ(run.Dlg().GetNavigation().GetCurrent(), i);
    EXPECT_TRUE(NearColour(CentreOf(run, run.ImageCell()), ItemColour(i)))
        << "item " << i << "; screen saved as " << SaveFailureScreen(run.Screen());
}

const int ROW_OF_ITEM_0 = CNavigation::ROW_FIRST_ITEM;

} // namespace

TEST(DecodeAhead, NextAndPreviousShowFromItWhatAColdStepShows) {
    CScopedTempDir dir;
    CViewerHarness run(1024, 768, WriteLargeItems(dir, ITEM_COUNT));
    ASSERT_TRUE(run.m_bCreated);
    // Cold: each item picked from the Comments view, after which nothing is decoded ahead,
    // then its details (a tab drops what was decoded ahead for the image view).
    std::vector<std::vector<COLORREF>> coldImage, coldDetails;
    for (int i = 0; i < ITEM_COUNT; ++i) {
        run.PickRow(CNavigation::ROW_COMMENTS);
        ASSERT_EQ(run.Dlg().WaitForAheadItem(), -1);
        run.PickRow(ROW_OF_ITEM_0 + i);
        ExpectImageOf(run, i);
        coldImage.push_back(WindowPixels(run.Screen(), &run.ImageCell()));
        run.Command(ID_SHOW_DETAILS);
        ASSERT_EQ(run.View(), 'D');
        coldDetails.push_back(WindowPixels(run.Screen(), &run.DetailsCell()));
        run.Command(ID_SHOW_IMAGE);
    }
    EXPECT_GT(DifferingShare(coldImage[1], coldImage[2]), 0.5) << "items must differ";

    run.PickRow(ROW_OF_ITEM_0);
    for (int i = 1; i < ITEM_COUNT; ++i) {
        SCOPED_TRACE(testing::Message() << "NEXT to item " << i);
        ASSERT_EQ(run.Dlg().WaitForAheadItem(), i);
        run.Command(ID_NEXT);
        ExpectImageOf(run, i);
        EXPECT_EQ(WindowPixels(run.Screen(), &run.ImageCell()), coldImage[(size_t)i])
            << "screen saved as " << SaveFailureScreen(run.Screen());
    }
    // After the last item NEXT shows Comments: nothing to decode ahead.
    EXPECT_EQ(run.Dlg().WaitForAheadItem(), -1);

    run.Command(ID_SHOW_DETAILS);
    run.Command(ID_PREVIOUS); // item 3, and from now on back
    for (int i = ITEM_COUNT - 3; i >= 0; --i) {
        SCOPED_TRACE(testing::Message() << "PREVIOUS to item " << i);
        ASSERT_EQ(run.Dlg().WaitForAheadItem(), i);
        run.Command(ID_PREVIOUS);
        ASSERT_EQ(run.View(), 'D');
        EXPECT_EQ(run.Dlg().GetNavigation().GetCurrent(), i);
        EXPECT_EQ(WindowPixels(run.Screen(), &run.DetailsCell()), coldDetails[(size_t)i])
            << "screen saved as " << SaveFailureScreen(run.Screen());
    }
}

TEST(DecodeAhead, GoingElsewhereLetsItGoAndShowsTheItemAskedFor) {
    CScopedTempDir dir;
    CViewerHarness run(1024, 768, WriteLargeItems(dir, ITEM_COUNT));
    ASSERT_TRUE(run.m_bCreated);
    run.PickRow(ROW_OF_ITEM_0 + 1);
    run.Command(ID_NEXT);
    ASSERT_EQ(run.Dlg().WaitForAheadItem(), 3);

    // PREVIOUS after travelling forward.
    SendCommand(run, ID_PREVIOUS);
    EXPECT_EQ(run.Dlg().GetAheadItem(), -1);
    AfxPumpUntilIdle();
    ExpectImageOf(run, 1);
    EXPECT_EQ(run.Dlg().WaitForAheadItem(), 0) << "the travel turned back";

    // A row of the list.
    SendPick(run, ROW_OF_ITEM_0 + 3);
    EXPECT_EQ(run.Dlg().GetAheadItem(), -1);
    AfxPumpUntilIdle();
    ExpectImageOf(run, 3);
    EXPECT_EQ(run.Dlg().WaitForAheadItem(), 2);

    // The details tab shows the same item in another view: what was decoded for the image
    // view's box goes, and the neighbour is decoded again for the details cell.
    SendCommand(run, ID_SHOW_DETAILS);
    EXPECT_EQ(run.Dlg().GetAheadItem(), -1);
    AfxPumpUntilIdle();
    EXPECT_EQ(run.View(), 'D');
    EXPECT_EQ(run.Dlg().WaitForAheadItem(), 2);
    run.Command(ID_SHOW_IMAGE);

    // The thumbnails: the page shows, and NEXT from it opens item 0.
    SendCommand(run, ID_SHOW_THUMBNAILS);
    EXPECT_EQ(run.Dlg().GetAheadItem(), -1);
    AfxPumpUntilIdle();
    EXPECT_EQ(run.View(), 'T');
    EXPECT_FALSE(run.Dlg().HoldsItem());
    run.Command(ID_PREVIOUS); // Comments; onwards from there
    run.Command(ID_NEXT);
    ASSERT_EQ(run.View(), 'T');
    EXPECT_EQ(run.Dlg().WaitForAheadItem(), 0);
    run.Command(ID_NEXT);
    ExpectImageOf(run, 0);
}

TEST(DecodeAhead, HoldsOnePictureMoreAndNoTemporaryFile) {
    CScopedTempDir dir;
    CViewerHarness run(1024, 768, WriteLargeItems(dir, ITEM_COUNT));
    ASSERT_TRUE(run.m_bCreated);
    // The image view decodes 960 × 720 at 6/8: 720 × 540 pixels of 3 bytes.
    const uint64_t nBitmap = 720 * 3 * 540;
    SendPick(run, ROW_OF_ITEM_0);
    uint64_t nShownFirst = 0;
    for (int i = 0; i + 1 < ITEM_COUNT; ++i) {
        SCOPED_TRACE(testing::Message() << "item " << i);
        if (i > 0)
            SendCommand(run, ID_NEXT);
        // Switched, not yet idle: the shown item alone.
        const uint64_t nShown = CPixelBudget::GetUsed();
        const size_t nFiles = dir.Files().size();
        const int nTempFiles = AfxGetTempFileCount();
        if (i == 0)
            nShownFirst = nShown;
        EXPECT_EQ(nShown, nShownFirst) << "a picture decoded ahead was kept after its step";
        AfxPumpUntilIdle();
        ExpectImageOf(run, i);
        ASSERT_EQ(run.Dlg().WaitForAheadItem(), i + 1);
        const uint64_t nExtra = CPixelBudget::GetUsed() - nShown;
        EXPECT_GE(nExtra, nBitmap);
        EXPECT_LT(nExtra, 2 * nBitmap);
        EXPECT_EQ(dir.Files().size(), nFiles);
        EXPECT_EQ(AfxGetTempFileCount(), nTempFiles);
    }
    // The one shown item and the Comments page's first item have their files; none is left
    // by the items shown before or decoded ahead.
    EXPECT_EQ(dir.Files().size(), 2u);
}

TEST(DecodeAhead, ANeighbourThatFailsSaysNothingUntilItShows) {
    CScopedTempDir dir;
    CCollectionWriter writer;
    writer.SetHeader("1.0 test");
    writer.AddItem(MakeTestItem(0, ItemColour(0)));
    writer.AddItem(MakeTestItem(1, ItemColour(1)));
    ITEM_RECORD broken = MakeTestItem(2, ItemColour(2));
    broken.jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0x00, 0x01, 0x99};
    writer.AddItem(broken);
    writer.AddItem(MakeTestItem(3, ItemColour(3)));
    // A readable name, then a text whose length runs past the end of the file.
    writer.AddRecordBytes({6, 'T', 'e', 'a', 'p', 'o', 't', 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F});
    CViewerHarness run(800, 600, WriteTestCollection(writer, dir));
    ASSERT_TRUE(run.m_bCreated);
    const std::string last = "contains no image";

    // A picture the library cannot decode: its message comes with the step to it.
    run.PickRow(ROW_OF_ITEM_0);
    testing::internal::CaptureStderr();
    run.Command(ID_NEXT);
    ASSERT_EQ(run.Dlg().WaitForAheadItem(), 2);
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.find(last), std::string::npos) << said;
    testing::internal::CaptureStderr();
    run.Command(ID_NEXT);
    said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(run.View(), 'D');
    EXPECT_NE(said.find(last), std::string::npos) << said;
    EXPECT_EQ(said.find(last), said.rfind(last)) << said;

    // A picture decoded ahead whose temporary file cannot be made when it shows: no message
    // while it waits, the message and no picture once it shows, as a step without it.
    run.PickRow(ROW_OF_ITEM_0 + 2); // the image view is still preferred
    ASSERT_EQ(run.Dlg().WaitForAheadItem(), 3);
    const std::string deep = dir.Path() + "/" + std::string(250 - dir.Path().size() - 1, 'd');
    ASSERT_EQ(::mkdir(deep.c_str(), 0700), 0);
    ::setenv("TMPDIR", deep.c_str(), 1);
    static std::vector<CString> s_messages;
    s_messages.clear();
    AfxSetMessageSink([](const CString& text) { s_messages.push_back(text); });
    AfxBeginUserAction();
    AfxPumpUntilIdle();
    EXPECT_TRUE(s_messages.empty());
    run.Command(ID_NEXT);
    ::setenv("TMPDIR", dir.Path().c_str(), 1);
    ASSERT_EQ(s_messages.size(), 1u);
    EXPECT_EQ(s_messages[0], CString("Decompress Image Failed while getting Temporary Path name"));
    EXPECT_EQ(run.View(), 'D');
    EXPECT_EQ(run.Dlg().GetNavigation().GetCurrent(), 3);
    EXPECT_EQ(run.DetailsCell().GetPicture(), nullptr);

    // A damaged record is not held; it shows damaged when the step reaches it.
    EXPECT_EQ(run.Dlg().WaitForAheadItem(), -1);
    AfxBeginUserAction();
    run.Command(ID_NEXT);
    AfxSetMessageSink(nullptr);
    EXPECT_EQ(s_messages.size(), 1u);
    EXPECT_TRUE(run.ImageCell().IsDamaged());
    EXPECT_EQ(run.Dlg().GetNavigation().GetCurrent(), 4);
}

TEST(DecodeAhead, TheStepShowsThePictureDecodedAheadWithoutReadingItAgain) {
    CScopedTempDir dir;
    const std::string path = WriteItems(dir, 3);
    CViewerHarness run(800, 600, path);
    ASSERT_TRUE(run.m_bCreated);
    run.PickRow(ROW_OF_ITEM_0);
    ASSERT_EQ(run.Dlg().WaitForAheadItem(), 1);
    // The file is gone from under the open collection: a record read now would be damaged.
    ASSERT_EQ(::truncate(path.c_str(), 0), 0);
    run.Command(ID_NEXT);
    ExpectImageOf(run, 1);
    EXPECT_FALSE(run.ImageCell().IsDamaged());
    EXPECT_EQ(run.Dlg().WaitForAheadItem(), -1) << "item 2 cannot be read";
    run.Command(ID_NEXT);
    EXPECT_TRUE(run.ImageCell().IsDamaged());
}
