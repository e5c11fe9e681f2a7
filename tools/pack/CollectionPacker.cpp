#include "tools/pack/CollectionPacker.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <future>
#include <thread>

#include "tools/pack/OutputFile.h"
#include "tools/pack/Placeholder.h"
#include "tools/pack/ProgressBar.h"
#include "tools/pack/SourceFile.h"
#include "tools/pack/TerminalText.h"
#include "tools/pack/ViewerFileReader.h"

namespace {
// Positions in the index are 32-bit.
const ULONGLONG MAX_POSITION = 0xFFFFFFFFull;
// Pixels beyond this (about 45 megapixels) make a picture one to turn alone.
const ULONGLONG LARGE_PICTURE_BYTES = 128ull << 20;

std::vector<BYTE> EncodeImageList(const IMAGELIST_DATA& list) {
    CStreamWriter out;
    out.WriteImageList(list);
    return out.GetBytes();
}

// The bytes of `path` that are the viewer. A file that carries a collection already (a packed
// file given as the viewer) would nest it, unseen and carried along in every copy: only the
// part before its first record or its index is the viewer.
ULONGLONG ViewerBytes(const std::string& path, ULONGLONG nSize) {
    ULONGLONG nStart = nSize;
    int nItems = 0;
    try {
        CViewerFileReader reader(path);
        reader.ReadItem(0);
        nStart = reader.GetIndexOffset();
        nItems = reader.GetItemCount();
        for (int i = 0; i < nItems; ++i)
            nStart = std::min(nStart, reader.GetItemPosition(i));
    } catch (const CPackError&) {
        return nSize; // no collection that can be read: all of it is the viewer
    }
    if (nStart == 0)
        throw CPackError(path + ": a collection without a viewer in front of it");
    std::fprintf(stderr,
                 "slideshow-pack: %s carries a collection already (%d %s); only the viewer in "
                 "front of it (%llu bytes) is copied\n",
                 CTerminalText::Escape(path).c_str(), nItems, nItems == 1 ? "item" : "items",
                 (unsigned long long)nStart);
    return nStart;
}

// Messages name the file at fault; prefix the item when the file alone would not say which.
CPackError AtItem(const PACK_ITEM& item, size_t index, const CPackError& e) {
    const std::string origin =
        item.strOrigin.IsEmpty() ? "item " + std::to_string(index + 1) : item.strOrigin.Str();
    const std::string what = e.what();
    return CPackError(what.compare(0, origin.size(), origin) == 0 ? what : origin + ": " + what);
}
} // namespace

ITEM_RECORD CCollectionPacker::MakeRecord(const PACK_CATALOGUE& catalogue, size_t index) {
    const PACK_ITEM& item = catalogue.items[index];
    ITEM_RECORD record;
    static_cast<ITEM_TEXTS&>(record) = item;
    if (index == 0) {
        auto fill = [](CString& field, const CString& collection) {
            if (field.IsEmpty())
                field = collection;
        };
        fill(record.m_strComments, catalogue.strComments);
        fill(record.m_strCollectionTitle, catalogue.strTitle);
        fill(record.m_strDateCreated, catalogue.strDateCreated);
        fill(record.m_strCreatedBy, catalogue.strCreatedBy);
    }
    for (const auto& [name, value] : item.details) {
        record.detailNames.Add(name);
        record.detailValues.Add(value);
    }
    return record;
}

bool CCollectionPacker::Skip(size_t index, const CPackError& e) {
    const PACK_ITEM& item = m_catalogue.items[index];
    if (!m_bSkipBroken || item.picturePath.empty() || item.nSameAs >= 0)
        return false;
    m_prepared[index].bSkipped = true;
    m_skipped.push_back(AtItem(item, index, e).what());
    std::fprintf(stderr, "slideshow-pack: skipped %s\n",
                 CTerminalText::Escape(m_skipped.back()).c_str());
    return true;
}

void CCollectionPacker::Prepare(bool bProgress) {
    if (m_catalogue.items.empty())
        throw CPackError("the collection has no items");
    CProgressBar progress("checking ", bProgress ? m_catalogue.items.size() : 0);
    std::vector<BYTE> builtIn;
    m_prepared.assign(m_catalogue.items.size(), PREPARED_ITEM());
    for (size_t i = 0; i < m_catalogue.items.size(); ++i) {
        const PACK_ITEM& item = m_catalogue.items[i];
        try {
            if (item.nSameAs >= 0) {
                if ((size_t)item.nSameAs >= i ||
                    m_catalogue.items[(size_t)item.nSameAs].nSameAs >= 0)
                    throw CPackError(
                        "\"same_as\" must name an earlier item that is not a repeat itself");
                progress.Step();
                continue;
            }
            CSourceFile::CheckPath(item.picturePath, "the picture's path");
            CSourceFile::CheckPath(item.placeholderPath, "the placeholder's path");
            if (!item.picturePath.empty()) {
                m_prepared[i].picture = CPictureFile::Prepare(item.picturePath, m_options);
            } else if (!item.placeholderPath.empty()) {
                m_prepared[i].imageList =
                    EncodeImageList(CPlaceholder::FromFile(item.placeholderPath));
            } else {
                if (builtIn.empty())
                    builtIn = EncodeImageList(CPlaceholder::BuiltIn());
                m_prepared[i].imageList = builtIn;
            }
        } catch (const CPackError& e) {
            if (!Skip(i, e))
                throw AtItem(item, i, e);
        }
        progress.Step();
    }
    if (std::all_of(m_prepared.begin(), m_prepared.end(),
                    [](const PREPARED_ITEM& p) { return p.bSkipped; }))
        throw CPackError("no picture could be stored; the collection would be empty");
}

bool CCollectionPacker::HasPicture(size_t index) const {
    const PACK_PICTURE& picture = m_prepared[index].picture;
    return !picture.converted.empty() || !picture.path.empty();
}

bool CCollectionPacker::IsLarge(size_t index) const {
    const PACK_PICTURE& picture = m_prepared[index].picture;
    return (ULONGLONG)picture.nWidth * (ULONGLONG)picture.nHeight * 3 > LARGE_PICTURE_BYTES;
}

void CCollectionPacker::WriteItem(COutputFile& out, size_t index, const std::vector<BYTE>& jpeg) {
    ITEM_RECORD record = MakeRecord(m_catalogue, index);
    if (!HasPicture(index)) {
        record.imageListStream = m_prepared[index].imageList;
        const std::vector<BYTE> bytes = CCollectionWriter::EncodeItem(record);
        out.Write(bytes.data(), bytes.size());
        return;
    }
    if (jpeg.size() > MAX_POSITION)
        throw CPackError("the picture would pass 4 GiB");
    // The record up to its picture is the record of an item without one, less the absent
    // picture's flag; the picture record follows.
    std::vector<BYTE> head = CCollectionWriter::EncodeItem(record);
    head.resize(head.size() - 4);
    CStreamWriter picture;
    picture.WriteDword(1);
    picture.WriteDword((DWORD)jpeg.size());
    head.insert(head.end(), picture.GetBytes().begin(), picture.GetBytes().end());
    out.Write(head.data(), head.size());
    out.Write(jpeg.data(), jpeg.size());
}

PACK_SUMMARY CCollectionPacker::Pack(const std::string& viewerPath, const std::string& outputPath,
                                     bool bProgress) {
    struct stat st;
    if (::stat(viewerPath.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        throw CPackError(viewerPath + ": the viewer cannot be read");
    Prepare(bProgress);
    PACK_SUMMARY summary;
    summary.skipped = m_skipped;
    summary.options = m_options;
    for (const PREPARED_ITEM& prepared : m_prepared) {
        summary.nItems += !prepared.bSkipped;
        const PACK_PICTURE& picture = prepared.picture;
        summary.nPictures += !picture.path.empty() || !picture.converted.empty();
        summary.nReencoded += !picture.path.empty() && !picture.bLossless && picture.nLongSide == 0;
        summary.nResized += picture.nLongSide > 0;
        if (!picture.warning.empty())
            summary.warnings.push_back(picture.warning);
    }

    const ULONGLONG nViewerBytes = ViewerBytes(viewerPath, (ULONGLONG)st.st_size);

    COutputFile out(outputPath);
    out.AppendFile(viewerPath, nViewerBytes, nViewerBytes == (ULONGLONG)st.st_size);
    CProgressBar progress("packing  ", bProgress ? m_catalogue.items.size() : 0);
    std::vector<DWORD> positions;
    std::vector<DWORD> positionOf(m_catalogue.items.size()); // of each item, for repeats
    // Turning a picture takes far longer than writing it: every core turns the next few
    // pictures while the records are written in order. A very large picture is turned alone,
    // so that memory holds one such picture at a time.
    const size_t nItems = m_catalogue.items.size();
    const size_t nAhead = std::max(1u, std::thread::hardware_concurrency()) + 1;
    std::deque<std::future<std::vector<BYTE>>> turned;
    size_t nNext = 0;
    auto canStart = [&](size_t i) {
        const bool bLargeQueued = !turned.empty() && IsLarge(nNext - 1);
        return nNext < nItems && nNext < i + nAhead &&
               (turned.empty() || (!IsLarge(nNext) && !bLargeQueued));
    };
    for (size_t i = 0; i < nItems; ++i) {
        for (; canStart(i); ++nNext)
            turned.push_back(std::async(std::launch::async, [this, nNext] {
                return HasPicture(nNext) ? CPictureFile::Store(m_prepared[nNext].picture)
                                         : std::vector<BYTE>();
            }));
        if (out.GetPosition() > MAX_POSITION)
            throw CPackError(outputPath + ": the collection would pass 4 GiB");
        if (m_catalogue.items[i].nSameAs >= 0) {
            // One record, listed again: the index points at it once more.
            positions.push_back(positionOf[(size_t)m_catalogue.items[i].nSameAs]);
            turned.pop_front();
            progress.Step();
            continue;
        }
        if (m_prepared[i].bSkipped) {
            turned.pop_front();
            progress.Step();
            continue;
        }
        positionOf[i] = (DWORD)out.GetPosition();
        positions.push_back(positionOf[i]);
        try {
            const std::vector<BYTE> jpeg = turned.front().get();
            turned.pop_front();
            const PACK_PICTURE& picture = m_prepared[i].picture;
            if (picture.nLongSide > 0)
                summary.nBytesSaved += (long long)picture.nSourceBytes - (long long)jpeg.size();
            WriteItem(out, i, jpeg);
        } catch (const CPackError& e) {
            throw AtItem(m_catalogue.items[i], i, e);
        }
        progress.Step();
    }
    if (out.GetPosition() > MAX_POSITION)
        throw CPackError(outputPath + ": the collection would pass 4 GiB");
    const DWORD indexOffset = (DWORD)out.GetPosition();
    CStreamWriter index;
    index.WriteString(m_catalogue.strHeader);
    for (DWORD position : positions)
        index.WriteDword(position);
    index.WriteDword((DWORD)positions.size());
    index.WriteDword(indexOffset);
    out.Write(index.GetBytes().data(), index.GetSize());
    summary.nBytes = out.GetPosition();
    out.Commit(0755);
    return summary;
}
