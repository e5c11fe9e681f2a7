// Turns the fuzzer's bytes into a well-formed collection through the collection writer (texts
// in each string form, details, JPEG pictures of any declared size, placeholder image lists,
// index entries that share records), then damages it, and loads all of it as the windows do.
// Random bytes rarely get past the trailer and the index; these inputs reach the records, the
// picture decoder and the image lists, and a page of eight entries that point at one big
// picture shows in the RSS. Each JPEG is also decoded in stripes where it can be cut.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "data/JpegDecoder.h"
#include "tools/pack/PictureFile.h"
#include "tools/pack/RowRestarts.h"
#include "tools/writer/CollectionWriter.h"

// A small quarantine keeps freed pictures out of the RSS, so that the RSS limit measures what
// is held: eight entries of a page that point at one picture decode eight bitmaps of it.
extern "C" const char* __asan_default_options() {
    return "quarantine_size_mb=8";
}

namespace {

CString Text(FuzzedDataProvider& in, size_t nMax = 48) {
    return CString(in.ConsumeRandomLengthString(nMax));
}

// A small real JPEG, narrow when tall; its frame header may then claim a much larger picture
// than the data holds.
std::vector<BYTE> Jpeg(FuzzedDataProvider& in) {
    RGBA_IMAGE image;
    image.nWidth = in.ConsumeIntegralInRange(1, 24);
    // Tall enough, at times, for the sixteen MCU rows of two stripes.
    image.nHeight = in.ConsumeIntegralInRange(1, in.ConsumeBool() ? 24 : 320);
    const DWORD base = in.ConsumeIntegral<DWORD>();
    for (int i = 0; i < image.nWidth * image.nHeight; i++)
        image.pixels.push_back(0xFF000000u | (base * (DWORD)(i + 1)));
    std::vector<BYTE> jpeg = CPictureFile::EncodeJpeg(image, in.ConsumeIntegralInRange(1, 100));
    // Stored as slideshow-pack stores it, with a restart marker every MCU row.
    if (in.ConsumeBool())
        jpeg = CRowRestarts::Add(jpeg);
    if (in.ConsumeBool()) {
        for (size_t i = 2; i + 9 < jpeg.size(); i++) {
            if (jpeg[i] != 0xFF || jpeg[i + 1] != 0xC0)
                continue;
            const WORD height = in.ConsumeIntegralInRange<WORD>(1, 4096),
                       width = in.ConsumeIntegralInRange<WORD>(1, 4096);
            jpeg[i + 5] = (BYTE)(height >> 8), jpeg[i + 6] = (BYTE)height;
            jpeg[i + 7] = (BYTE)(width >> 8), jpeg[i + 8] = (BYTE)width;
            break;
        }
    }
    if (in.ConsumeBool() && !jpeg.empty())
        jpeg[in.ConsumeIntegralInRange<size_t>(0, jpeg.size() - 1)] = in.ConsumeIntegral<BYTE>();
    if (in.ConsumeBool())
        jpeg.resize(in.ConsumeIntegralInRange<size_t>(0, jpeg.size()));
    return jpeg;
}

BYTE* AllocateRows(void* pContext, int, int nHeight, int nStride) {
    std::vector<BYTE>* rows = static_cast<std::vector<BYTE>*>(pContext);
    rows->resize((size_t)nStride * (size_t)nHeight);
    return rows->data();
}

// The pictures the views load are rarely large enough to be decoded in stripes: every picture
// is also decoded as if it were, whatever its size.
void DecodeInStripes(const std::vector<BYTE>& jpeg) {
    std::vector<BYTE> rows;
    std::string messages;
    JPEG_DECODE_REQUEST request;
    request.nMaxThreads = CJpegDecoder::MAX_STRIPES;
    request.nMinStripedPixels = 0;
    request.pMessages = &messages;
    CJpegDecoder::DecodeBytes(jpeg.data(), jpeg.size(), 1 << 26, AllocateRows, &rows, &request);
}

IMAGELIST_DATA ImageList(FuzzedDataProvider& in) {
    IMAGELIST_DATA list;
    list.cx = in.ConsumeIntegralInRange(1, 40);
    list.cy = in.ConsumeIntegralInRange(1, 40);
    list.nImages = in.ConsumeIntegralInRange(0, 5);
    list.bMask = in.ConsumeBool();
    list.bAlpha = !list.bMask;
    const size_t n = (size_t)list.cx * (size_t)list.cy * (size_t)list.nImages;
    const DWORD base = in.ConsumeIntegral<DWORD>();
    for (size_t i = 0; i < n; i++)
        list.pixels.push_back(base ^ (DWORD)(i * 0x9E3779B1u));
    if (list.bMask)
        for (size_t i = 0; i < n; i++)
            list.mask.push_back((BYTE)((base >> (i % 32)) & 1));
    for (int i = 0; i < list.nImages; i++)
        list.imageHasAlpha.push_back(list.bAlpha ? 1 : 0);
    return list;
}

ITEM_RECORD Record(FuzzedDataProvider& in) {
    ITEM_RECORD record;
    record.stringForm = in.PickValueInArray({STRING_AUTO, STRING_ANSI, STRING_UTF16});
    for (const ITEM_TEXT_FIELD& field : ITEM_TEXT_FIELDS)
        if (field.pText != &ITEM_TEXTS::m_strComments)
            record.*field.pText = Text(in);
    // Comments may be long: the inputs may be up to a megabyte.
    record.m_strComments = Text(in, in.ConsumeBool() ? 1u << 20 : 64);
    const int nNames = in.ConsumeIntegralInRange(0, 6), nValues = in.ConsumeIntegralInRange(0, 6);
    for (int i = 0; i < nNames; i++)
        record.detailNames.Add(Text(in));
    for (int i = 0; i < nValues; i++)
        record.detailValues.Add(Text(in));
    switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0:
        break;
    case 1:
        record.bPicture = TRUE, record.jpeg = Jpeg(in);
        DecodeInStripes(record.jpeg);
        break;
    case 2:
        record.bPicture = TRUE,
        record.jpeg = in.ConsumeBytes<BYTE>(in.ConsumeIntegralInRange(0, 4096));
        break;
    case 3:
        record.bPicture = TRUE;
        break; // a picture of no bytes
    }
    if (in.ConsumeBool())
        record.bImageList = TRUE, record.imageList = ImageList(in);
    else if (in.ConsumeBool())
        record.imageListStream = in.ConsumeBytes<BYTE>(in.ConsumeIntegralInRange(1, 512));
    return record;
}

// Overwrites, cuts or extends the well-formed file here and there.
void Damage(FuzzedDataProvider& in, std::vector<BYTE>& bytes) {
    const int nDamages = in.ConsumeIntegralInRange(0, 4);
    for (int k = 0; k < nDamages && !bytes.empty(); k++) {
        const size_t at = in.ConsumeIntegralInRange<size_t>(0, bytes.size() - 1);
        switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0:
            bytes[at] = in.ConsumeIntegral<BYTE>();
            break;
        case 1:
            for (size_t i = 0; i < 4 && at + i < bytes.size(); i++)
                bytes[at + i] = in.ConsumeIntegral<BYTE>();
            break;
        case 2:
            bytes.erase(bytes.begin() + (std::ptrdiff_t)at);
            break;
        case 3:
            bytes.insert(bytes.begin() + (std::ptrdiff_t)at, in.ConsumeIntegral<BYTE>());
            break;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    CCollectionWriter writer;
    writer.SetHeader(Text(in), in.PickValueInArray({STRING_AUTO, STRING_ANSI, STRING_UTF16}));
    const int nRecords = in.ConsumeIntegralInRange(1, 6);
    for (int i = 0; i < nRecords; i++)
        writer.AddItem(Record(in));
    // Further entries, most of them pointing at a record that already has one; at most two
    // pages in all, so that the largest pictures still load within the time limit.
    const int nEntries = in.ConsumeIntegralInRange(0, 16 - nRecords);
    for (int i = 0; i < nEntries; i++) {
        if (in.ConsumeIntegralInRange(0, 7) == 0)
            writer.AddEntryAt(in.ConsumeIntegral<DWORD>());
        else
            writer.AddEntryFor(in.ConsumeIntegralInRange(0, writer.GetItemCount() - 1));
    }
    writer.SetIndexFirst(in.ConsumeBool());
    std::vector<BYTE> bytes = writer.Build();
    Damage(in, bytes);

    fuzz::LoadAsTheViewsDo(fuzz::WriteFile("collection", bytes.data(), bytes.size()));
    if (fuzz::PictureFilesLeft())
        std::abort();
    return 0;
}
