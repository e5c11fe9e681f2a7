#include "tools/writer/CollectionWriter.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

BOOL CCollectionWriter::SetPrefixFromFile(const CString& path) {
    FILE* f = std::fopen(path, "rb");
    if (!f)
        return FALSE;
    std::vector<BYTE> bytes;
    BYTE chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + n);
    const BOOL bOk = !std::ferror(f);
    std::fclose(f);
    if (bOk)
        m_prefix.swap(bytes);
    return bOk;
}

void CCollectionWriter::SetHeader(const CString& header, STRING_FORM form) {
    CStreamWriter out;
    out.WriteString(header, form);
    m_header = out.GetBytes();
}

std::vector<BYTE> CCollectionWriter::EncodeItem(const ITEM_RECORD& item) {
    CStreamWriter out;
    for (const ITEM_TEXT_FIELD& field : ITEM_TEXT_FIELDS)
        out.WriteString(item.*field.pText, item.stringForm);
    out.WriteStringArray(item.detailNames);
    out.WriteStringArray(item.detailValues);
    out.WritePicture(item.bPicture, item.jpeg);
    if (!item.imageListStream.empty())
        out.WriteBytes(item.imageListStream);
    else if (item.bImageList)
        out.WriteImageList(item.imageList);
    return out.GetBytes();
}

int CCollectionWriter::AddItem(const ITEM_RECORD& item) {
    return AddRecordBytes(EncodeItem(item));
}

int CCollectionWriter::AddRecordBytes(const std::vector<BYTE>& record) {
    m_records.push_back(record);
    m_entries.push_back(ENTRY{(int)m_records.size() - 1, 0});
    return (int)m_entries.size() - 1;
}

int CCollectionWriter::AddEntryFor(int index) {
    m_entries.push_back(m_entries.at((size_t)index));
    return (int)m_entries.size() - 1;
}

int CCollectionWriter::AddEntryAt(DWORD position) {
    m_entries.push_back(ENTRY{-1, position});
    return (int)m_entries.size() - 1;
}

std::vector<BYTE> CCollectionWriter::Build() const {
    const size_t indexSize = m_header.size() + 4 * m_entries.size();
    size_t pos = m_prefix.size() + (m_bIndexFirst ? indexSize : 0);
    std::vector<DWORD> recordPositions;
    for (const std::vector<BYTE>& record : m_records) {
        recordPositions.push_back((DWORD)pos);
        pos += record.size();
    }
    const DWORD indexOffset = (DWORD)(m_bIndexFirst ? m_prefix.size() : pos);

    CStreamWriter index;
    index.WriteBytes(m_header);
    for (const ENTRY& e : m_entries)
        index.WriteDword(e.nRecord < 0 ? e.dwPosition : recordPositions[(size_t)e.nRecord]);

    CStreamWriter out;
    out.WriteBytes(m_prefix);
    if (m_bIndexFirst)
        out.WriteBytes(index.GetBytes());
    for (const std::vector<BYTE>& record : m_records)
        out.WriteBytes(record);
    if (!m_bIndexFirst)
        out.WriteBytes(index.GetBytes());
    out.WriteDword((DWORD)(m_bCountOverride ? m_nTrailerCount : (LONG)m_entries.size()));
    out.WriteDword(indexOffset);
    return out.GetBytes();
}

BOOL CCollectionWriter::WriteFile(const CString& path, BOOL bExecutable) const {
    const std::vector<BYTE> bytes = Build();
    {
        std::ofstream out(path.GetString(), std::ios::binary | std::ios::trunc);
        if (!out.write(reinterpret_cast<const char*>(bytes.data()),
                       (std::streamsize)bytes.size()) ||
            !out.flush())
            return FALSE;
    }
    namespace fs = std::filesystem;
    const fs::perms mode =
        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
        fs::perms::others_read |
        (bExecutable ? fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec
                     : fs::perms::none);
    std::error_code ec;
    fs::permissions(path.GetString(), mode, ec);
    return !ec;
}
