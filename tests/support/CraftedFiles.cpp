#include "support/CraftedFiles.h"

#include "support/TestFixtures.h"

namespace {

const BYTE MARKER = 0xFF, SOF0 = 0xC0, SOF2 = 0xC2, SOS = 0xDA, EOI = 0xD9;

DWORD Stripes(int x, int y) {
    return (y < 8 ? 0xC02020 : 0x2020C0) + (DWORD)(x * 4);
}

size_t SegmentEnd(const std::vector<BYTE>& jpeg, size_t at) {
    return at + 2 + (size_t)((jpeg[at + 2] << 8) | jpeg[at + 3]);
}

void ClaimSize(std::vector<BYTE>& jpeg, int w, int h) {
    for (size_t i = 0; i + 8 < jpeg.size(); i++) {
        if (jpeg[i] == MARKER && (jpeg[i + 1] == SOF0 || jpeg[i + 1] == SOF2)) {
            jpeg[i + 5] = (BYTE)(h >> 8), jpeg[i + 6] = (BYTE)h;
            jpeg[i + 7] = (BYTE)(w >> 8), jpeg[i + 8] = (BYTE)w;
            return;
        }
    }
}

// Where the first scan starts (its SOS marker) and where the second one starts.
void FindFirstScan(const std::vector<BYTE>& jpeg, size_t& begin, size_t& end) {
    begin = end = jpeg.size();
    for (size_t i = 0; i + 1 < jpeg.size(); i++) {
        if (jpeg[i] != MARKER || jpeg[i + 1] != SOS)
            continue;
        begin = i;
        for (size_t j = SegmentEnd(jpeg, i); j + 1 < jpeg.size(); j++)
            if (jpeg[j] == MARKER && jpeg[j + 1] != 0 && (jpeg[j + 1] < 0xD0 || jpeg[j + 1] > 0xD7))
                return void(end = j);
        return;
    }
}

} // namespace

std::vector<BYTE> MakeClaimedSizeJpeg(int w, int h) {
    std::vector<BYTE> jpeg = MakeJpeg(16, 16, Stripes);
    ClaimSize(jpeg, w, h);
    return jpeg;
}

std::vector<BYTE> MakeManyScanJpeg(int w, int h, int nScans) {
    std::vector<BYTE> source = MakeJpeg(8, 8, Stripes, JPEG_RGB, true);
    ClaimSize(source, w, h);
    size_t begin, end;
    FindFirstScan(source, begin, end);
    // The header, the first scan nScans times, and the end of the picture.
    std::vector<BYTE> jpeg(source.begin(), source.begin() + (long)begin);
    for (int i = 0; i < nScans; i++)
        jpeg.insert(jpeg.end(), source.begin() + (long)begin, source.begin() + (long)end);
    jpeg.push_back(MARKER);
    jpeg.push_back(EOI);
    return jpeg;
}

std::vector<BYTE> MakeOneBitImageListStream(int cx, int cy, int nImages) {
    CStreamWriter out;
    const DWORD stride = (DWORD)((cx + 31) / 32 * 4), height = (DWORD)(cy * nImages);
    out.WriteWord(0x4C49);
    out.WriteWord(0x0600);
    out.WriteWord((WORD)nImages);
    out.WriteWord((WORD)nImages);
    out.WriteWord(1);
    out.WriteWord((WORD)cx);
    out.WriteWord((WORD)cy);
    out.WriteDword(0xFFFFFFFF);
    out.WriteWord(0x0001); // a mask, itself one bit deep
    for (int i = 0; i < 4; i++)
        out.WriteWord(0xFFFF);
    for (int bitmap = 0; bitmap < 2; bitmap++) {
        const DWORD offBits = 14 + 40 + 8;
        out.WriteByte('B');
        out.WriteByte('M');
        out.WriteDword(offBits);
        out.WriteDword(0);
        out.WriteDword(offBits);
        out.WriteDword(40);
        out.WriteDword((DWORD)cx);
        out.WriteDword(height);
        out.WriteWord(1);
        out.WriteWord(1);
        out.WriteDword(0);
        out.WriteDword(stride * height);
        for (int i = 0; i < 4; i++)
            out.WriteDword(0);
        out.WriteDword(0x000000);
        out.WriteDword(0xFFFFFF);
        // The top row of every image is white, the rest black: no image is symmetric.
        for (DWORD y = 0; y < height; y++) {
            const BYTE fill = (height - 1 - y) % (DWORD)cy == 0 ? 0xFF : 0x00;
            for (DWORD i = 0; i < stride; i++)
                out.WriteByte(bitmap == 0 ? fill : 0x00);
        }
    }
    return out.GetBytes();
}

CCollectionWriter MakeCraftedCollection(const CRAFTED_COLLECTION& c) {
    ITEM_RECORD item;
    item.m_strName = "crafted";
    item.m_strCollectionTitle = "Crafted collection";
    switch (c.kind) {
    case CRAFTED_PICTURES:
        item.bPicture = TRUE;
        item.jpeg = MakeClaimedSizeJpeg(c.w, c.h);
        break;
    case CRAFTED_IMAGE_LIST:
        item.imageListStream = MakeOneBitImageListStream(c.w, c.h, c.nImages);
        break;
    case CRAFTED_SCANS:
        item.bPicture = TRUE;
        item.jpeg = MakeManyScanJpeg(c.w, c.h, c.nScans);
        break;
    case CRAFTED_DETAILS:
        for (int i = 0; i < c.nDetails; i++) {
            CString name, value;
            name.Format("name %d", i);
            value.Format("value %d", i);
            item.detailNames.Add(name);
            item.detailValues.Add(value);
        }
        item.bImageList = TRUE;
        item.imageList.cx = item.imageList.cy = 2;
        item.imageList.nImages = 1;
        item.imageList.pixels = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
        break;
    }
    CCollectionWriter writer;
    writer.AddItem(item);
    for (int i = 1; i < c.nEntries; i++)
        writer.AddEntryFor(0);
    return writer;
}
