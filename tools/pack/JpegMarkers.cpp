#include "tools/pack/JpegMarkers.h"

#include <cstring>

namespace {
const BYTE MARKER_SOI = 0xD8;
const BYTE MARKER_EOI = 0xD9;
const BYTE MARKER_SOS = 0xDA;
const BYTE MARKER_APP0 = 0xE0;
const BYTE MARKER_APP1 = 0xE1;
const BYTE MARKER_APP14 = 0xEE;
const BYTE MARKER_COM = 0xFE;
const WORD TAG_ORIENTATION = 0x0112;
const WORD TAG_DATE_TIME = 0x0132;
const WORD TAG_EXIF_DIRECTORY = 0x8769;
const WORD TAG_DATE_TIME_ORIGINAL = 0x9003;
const WORD TYPE_ASCII = 2;
const WORD TYPE_SHORT = 3;
const size_t EXIF_DATE_LENGTH = 19;

struct SEGMENT {
    BYTE marker;
    size_t nStart; // at the 0xFF of the marker
    size_t nSize;  // marker, length and payload
};

// The segments before the first scan. Parsing stops quietly at anything that is not a
// well-formed segment: libjpeg judges the picture itself, this only looks for metadata.
std::vector<SEGMENT> HeadSegments(const BYTE* data, size_t n) {
    std::vector<SEGMENT> segments;
    if (n < 4 || data[0] != 0xFF || data[1] != MARKER_SOI)
        return segments;
    size_t pos = 2;
    while (pos + 4 <= n && data[pos] == 0xFF) {
        const BYTE marker = data[pos + 1];
        if (marker == 0xFF) { // fill byte before a marker
            ++pos;
            continue;
        }
        if (marker == MARKER_SOS || marker == MARKER_EOI)
            break;
        const size_t nSize = 2 + ((size_t)data[pos + 2] << 8 | data[pos + 3]);
        if (nSize < 4 || pos + nSize > n)
            break;
        segments.push_back({marker, pos, nSize});
        pos += nSize;
    }
    return segments;
}

bool IsApp(const BYTE* data, const SEGMENT& s, BYTE marker, const char* id, size_t nId) {
    return s.marker == marker && s.nSize >= 4 + nId &&
           std::memcmp(data + s.nStart + 4, id, nId) == 0;
}

bool IsExif(const BYTE* data, const SEGMENT& s) {
    return IsApp(data, s, MARKER_APP1, "Exif\0\0", 6);
}

// Reads the little- or big-endian TIFF structure inside an EXIF block.
class CTiffReader {
public:
    CTiffReader(const BYTE* data, size_t n) : m_data(data), m_n(n) {}
    bool Start(std::string& damage) {
        if (m_n < 8 || !(std::memcmp(m_data, "II", 2) == 0 || std::memcmp(m_data, "MM", 2) == 0))
            return damage = "no TIFF header", false;
        m_bBigEndian = m_data[0] == 'M';
        if (Word(2) != 42)
            return damage = "no TIFF header", false;
        return true;
    }
    WORD Word(size_t at) const {
        return m_bBigEndian ? (WORD)(m_data[at] << 8 | m_data[at + 1])
                            : (WORD)(m_data[at + 1] << 8 | m_data[at]);
    }
    DWORD Dword(size_t at) const {
        return m_bBigEndian ? (DWORD)Word(at) << 16 | Word(at + 2)
                            : (DWORD)Word(at + 2) << 16 | Word(at);
    }
    size_t Size() const { return m_n; }

private:
    const BYTE* m_data;
    size_t m_n;
    bool m_bBigEndian = false;
};

EXIF_ORIENTATION OrientationInExif(const BYTE* tiff, size_t n) {
    EXIF_ORIENTATION result;
    CTiffReader reader(tiff, n);
    if (!reader.Start(result.damage))
        return result;
    const DWORD ifd = reader.Dword(4);
    if (ifd < 8 || (ULONGLONG)ifd + 2 > n) {
        result.damage = "its first directory lies outside the block";
        return result;
    }
    const WORD nEntries = reader.Word(ifd);
    if ((ULONGLONG)ifd + 2 + (ULONGLONG)nEntries * 12 > n) {
        result.damage = "its first directory runs past the end of the block";
        return result;
    }
    for (WORD i = 0; i < nEntries; ++i) {
        const size_t entry = ifd + 2 + (size_t)i * 12;
        if (reader.Word(entry) != TAG_ORIENTATION)
            continue;
        const WORD nValue = reader.Word(entry + 8);
        if (reader.Word(entry + 2) != TYPE_SHORT || reader.Dword(entry + 4) != 1 || nValue < 1 ||
            nValue > 8) {
            result.damage = "its orientation is not a value from 1 to 8";
            return result;
        }
        result.nValue = nValue;
        return result;
    }
    return result;
}

// The entry of `tag` in the directory at `ifd`, or 0 when the directory has none or is damaged.
size_t FindEntry(const CTiffReader& reader, DWORD ifd, WORD tag) {
    if (ifd < 8 || (ULONGLONG)ifd + 2 > reader.Size())
        return 0;
    const WORD nEntries = reader.Word(ifd);
    if ((ULONGLONG)ifd + 2 + (ULONGLONG)nEntries * 12 > reader.Size())
        return 0;
    for (WORD i = 0; i < nEntries; ++i)
        if (reader.Word(ifd + 2 + (size_t)i * 12) == tag)
            return ifd + 2 + (size_t)i * 12;
    return 0;
}

std::string DateAt(const BYTE* tiff, const CTiffReader& reader, size_t entry) {
    if (entry == 0 || reader.Word(entry + 2) != TYPE_ASCII ||
        reader.Dword(entry + 4) < EXIF_DATE_LENGTH)
        return std::string();
    const DWORD at = reader.Dword(entry + 8);
    if ((ULONGLONG)at + EXIF_DATE_LENGTH > reader.Size())
        return std::string();
    const std::string date(reinterpret_cast<const char*>(tiff) + at, EXIF_DATE_LENGTH);
    // Cameras without a clock write blanks or zeros.
    if (date.compare(0, 4, "0000") == 0 || date[0] == ' ')
        return std::string();
    for (size_t i = 0; i < EXIF_DATE_LENGTH; ++i)
        if (date[i] < ' ' || date[i] > '~')
            return std::string();
    return date;
}

std::string DateInExif(const BYTE* tiff, size_t n) {
    CTiffReader reader(tiff, n);
    std::string damage;
    if (!reader.Start(damage))
        return std::string();
    const DWORD ifd = reader.Dword(4);
    const size_t exifEntry = FindEntry(reader, ifd, TAG_EXIF_DIRECTORY);
    if (exifEntry != 0) {
        const std::string original = DateAt(
            tiff, reader, FindEntry(reader, reader.Dword(exifEntry + 8), TAG_DATE_TIME_ORIGINAL));
        if (!original.empty())
            return original;
    }
    return DateAt(tiff, reader, FindEntry(reader, ifd, TAG_DATE_TIME));
}

// A big-endian EXIF block with one entry: the orientation.
std::vector<BYTE> OrientationSegment(int nOrientation) {
    const BYTE segment[] = {
        0xFF, MARKER_APP1, 0x00, 0x22, 'E',  'x',  'i',  'f',  0x00, 0x00,
        'M',  'M',         0x00, 0x2A, 0x00, 0x00, 0x00, 0x08, 0x00, 0x01,
        0x01, 0x12,        0x00, 0x03, 0x00, 0x00, 0x00, 0x01, 0x00, (BYTE)nOrientation,
        0x00, 0x00,        0x00, 0x00, 0x00, 0x00};
    return std::vector<BYTE>(segment, segment + sizeof segment);
}
} // namespace

EXIF_ORIENTATION CJpegMarkers::ReadOrientation(const BYTE* data, size_t n) {
    for (const SEGMENT& s : HeadSegments(data, n))
        if (IsExif(data, s))
            return OrientationInExif(data + s.nStart + 10, s.nSize - 10);
    return EXIF_ORIENTATION();
}

std::string CJpegMarkers::ReadDateTaken(const BYTE* data, size_t n) {
    for (const SEGMENT& s : HeadSegments(data, n))
        if (IsExif(data, s))
            return DateInExif(data + s.nStart + 10, s.nSize - 10);
    return std::string();
}

std::vector<BYTE> CJpegMarkers::WithoutExif(const std::vector<BYTE>& jpeg) {
    std::vector<BYTE> out;
    out.reserve(jpeg.size());
    size_t pos = 0;
    for (const SEGMENT& s : HeadSegments(jpeg.data(), jpeg.size())) {
        if (!IsExif(jpeg.data(), s))
            continue;
        out.insert(out.end(), jpeg.begin() + (ptrdiff_t)pos, jpeg.begin() + (ptrdiff_t)s.nStart);
        pos = s.nStart + s.nSize;
    }
    out.insert(out.end(), jpeg.begin() + (ptrdiff_t)pos, jpeg.end());
    return out;
}

std::vector<BYTE> CJpegMarkers::WithOrientation(const std::vector<BYTE>& jpeg, int nOrientation) {
    if (jpeg.size() < 2 || jpeg[0] != 0xFF || jpeg[1] != MARKER_SOI)
        return jpeg; // not a JPEG: nothing to mark
    return InsertSegments(WithoutExif(jpeg), OrientationSegment(nOrientation));
}

std::vector<BYTE> CJpegMarkers::CarriedSegments(const BYTE* data, size_t n) {
    std::vector<BYTE> carried;
    for (const SEGMENT& s : HeadSegments(data, n)) {
        const bool bApp = s.marker >= MARKER_APP0 && s.marker <= MARKER_APP0 + 15;
        if ((bApp || s.marker == MARKER_COM) && s.marker != MARKER_APP0 &&
            s.marker != MARKER_APP14 && !IsExif(data, s))
            carried.insert(carried.end(), data + s.nStart, data + s.nStart + s.nSize);
    }
    return carried;
}

std::vector<BYTE> CJpegMarkers::InsertSegments(const std::vector<BYTE>& jpeg,
                                               const std::vector<BYTE>& segments) {
    const std::vector<SEGMENT> head = HeadSegments(jpeg.data(), jpeg.size());
    size_t at = std::min<size_t>(2, jpeg.size());
    // JFIF wants its segment first.
    if (!head.empty() && head[0].nStart == 2 && IsApp(jpeg.data(), head[0], MARKER_APP0, "JFIF", 5))
        at = head[0].nStart + head[0].nSize;
    std::vector<BYTE> out(jpeg.begin(), jpeg.begin() + (ptrdiff_t)at);
    out.insert(out.end(), segments.begin(), segments.end());
    out.insert(out.end(), jpeg.begin() + (ptrdiff_t)at, jpeg.end());
    return out;
}
