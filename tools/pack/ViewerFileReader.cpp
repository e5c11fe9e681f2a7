#include "tools/pack/ViewerFileReader.h"

#include <cstdio>

#include "tools/pack/PictureFile.h"

namespace {
std::string Hex(ULONGLONG n) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx", (unsigned long long)n);
    return text;
}

LONG Int32At(const BYTE* p) {
    return (LONG)((DWORD)p[0] | (DWORD)p[1] << 8 | (DWORD)p[2] << 16 | (DWORD)p[3] << 24);
}

// Follows a reader through a record so that an error can say where it happened.
class CRecordCursor {
public:
    CRecordCursor(CArchiveReader& reader, ULONGLONG nFileLength)
        : m_reader(reader), m_nFileLength(nFileLength) {}
    ULONGLONG Position() const { return m_nFileLength - m_reader.GetRemaining(); }

    template <typename READ> void Field(const char* what, READ read) {
        m_strField = what;
        m_nFieldStart = Position();
        read();
    }
    std::string Describe() const {
        return m_strField + " at offset " + Hex(m_nFieldStart) + " runs past the end of the file";
    }

private:
    CArchiveReader& m_reader;
    ULONGLONG m_nFileLength;
    std::string m_strField;
    ULONGLONG m_nFieldStart = 0;
};
} // namespace

CViewerFileReader::CViewerFileReader(const std::string& path) : m_path(path), m_pFile(new CFile) {
    if (!m_pFile->Open(path.c_str(), CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary))
        Fail("cannot open");
    m_nFileLength = m_pFile->GetLength();
    if (m_nFileLength < 8)
        Fail("no collection is appended to this file (it is only " + std::to_string(m_nFileLength) +
             " bytes long)");
    BYTE trailer[8];
    m_pFile->Seek((int64_t)(m_nFileLength - 8), CFile::begin);
    if (m_pFile->Read(trailer, 8) != 8)
        Fail("cannot read the trailer");
    const LONG nCount = Int32At(trailer);
    m_nIndexOffset = (DWORD)Int32At(trailer + 4);
    if (nCount <= 0)
        Fail("no collection is appended to this file");
    // A file without a collection ends in bytes of its own, which rarely make a trailer.
    if (m_nIndexOffset >= m_nFileLength - 8)
        Fail("no collection is appended to this file (its last 8 bytes point outside it)");
    if ((ULONGLONG)nCount * 4 + 1 > m_nFileLength - 8 - m_nIndexOffset)
        Fail("no collection is appended to this file (its last 8 bytes count " +
             std::to_string(nCount) + " items, more than fit before them)");
    m_pFile->Seek((int64_t)m_nIndexOffset, CFile::begin);
    CArchiveReader reader(m_pFile.get());
    try {
        reader.ReadString(m_strHeader);
        for (LONG i = 0; i < nCount; ++i)
            m_positions.push_back(reader.ReadDword());
    } catch (const CArchiveException&) {
        Fail("damaged index at offset " + Hex(m_nIndexOffset) +
             ": it runs past the end of the file");
    }
    for (size_t i = 0; i < m_positions.size(); ++i)
        if (m_positions[i] >= m_nFileLength)
            Fail("damaged index: item " + std::to_string(i + 1) + " is placed at offset " +
                 Hex(m_positions[i]) + ", outside the file");
}

CViewerFileReader::~CViewerFileReader() = default;

void CViewerFileReader::Fail(const std::string& what) const {
    throw CPackError(m_path + ": " + what);
}

VIEWER_ITEM CViewerFileReader::ReadItem(int index) {
    VIEWER_ITEM item;
    item.nPosition = m_positions.at((size_t)index);
    const std::string where =
        "item " + std::to_string(index + 1) + " (record at offset " + Hex(item.nPosition) + ")";
    m_pFile->Seek((int64_t)item.nPosition, CFile::begin);
    CArchiveReader reader(m_pFile.get());
    CRecordCursor cursor(reader, m_nFileLength);
    PACK_ITEM& t = item.texts;
    try {
        for (const ITEM_TEXT_FIELD& field : ITEM_TEXT_FIELDS)
            cursor.Field(field.pszWhat, [&] { reader.ReadString(t.*field.pText); });
        CStringArray names, values;
        cursor.Field("the detail names", [&] { reader.ReadStringArray(names); });
        cursor.Field("the detail values", [&] { reader.ReadStringArray(values); });
        for (int i = 0; i < names.GetSize(); ++i)
            t.details.emplace_back(names[i], i < values.GetSize() ? values[i] : CString());
        DWORD nFlag = 0;
        cursor.Field("the picture flag", [&] { nFlag = reader.ReadDword(); });
        if (nFlag != 0) {
            DWORD nBytes = 0;
            cursor.Field("the picture's byte count", [&] { nBytes = reader.ReadDword(); });
            cursor.Field("the picture", [&] {
                if (nBytes > reader.GetRemaining())
                    throw CArchiveException(CArchiveException::endOfFile);
                item.jpeg.resize(nBytes);
                reader.Read(item.jpeg.data(), nBytes);
            });
            item.bPicture = true;
            item.bPictureReadable = CPictureFile::ReadJpegSize(
                item.jpeg.data(), item.jpeg.size(), item.nWidth, item.nHeight, item.pictureError);
        }
        if (!item.bPictureReadable) {
            // As the viewer does: without a picture it can show, the record goes on with an
            // image list.
            cursor.Field("the placeholder image list", [&] {
                CImageList list;
                const ULONGLONG nStart = cursor.Position();
                if (!list.Read(&reader))
                    throw CPackError(where + ": the placeholder image list at offset " +
                                     Hex(nStart) + " is damaged");
                item.bImageList = true;
                item.imageList = *list.GetData();
            });
        }
    } catch (const CArchiveException&) {
        Fail(where + ": " + cursor.Describe());
    } catch (const CPackError& e) {
        Fail(e.what());
    }
    return item;
}
