// Reads what a viewer file carries, record by record, with the viewer's own archive reader,
// keeping what the viewer itself throws away: the JPEG bytes as stored and where each part
// lies in the file, so that damage can be named precisely.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "data/ArchiveReader.h"
#include "framework/gdi/ImageList.h"
#include "tools/pack/PackCatalogue.h"

struct VIEWER_ITEM {
    PACK_ITEM texts;         // the record's texts and details (paths left empty)
    ULONGLONG nPosition = 0; // where the record starts
    bool bPicture = false;   // a JPEG is stored
    bool bPictureReadable = false;
    std::vector<BYTE> jpeg;
    int nWidth = 0, nHeight = 0;
    std::string pictureError; // why libjpeg cannot read the stored picture
    bool bImageList = false;  // the record ends in an image list that could be read
    IMAGELIST_DATA imageList;
};

class CViewerFileReader {
public:
    // Throws CPackError: the file cannot be opened, its trailer or index is damaged.
    explicit CViewerFileReader(const std::string& path);
    ~CViewerFileReader();

    const CString& GetHeader() const { return m_strHeader; }
    int GetItemCount() const { return (int)m_positions.size(); }
    // Where item `index`'s record starts; several items may share one record.
    ULONGLONG GetItemPosition(int index) const { return m_positions.at((size_t)index); }
    ULONGLONG GetFileLength() const { return m_nFileLength; }
    ULONGLONG GetIndexOffset() const { return m_nIndexOffset; }
    // Throws CPackError naming the item, the offset and what is wrong.
    VIEWER_ITEM ReadItem(int index);

private:
    [[noreturn]] void Fail(const std::string& what) const;

    std::string m_path;
    std::unique_ptr<CFile> m_pFile;
    ULONGLONG m_nFileLength = 0;
    ULONGLONG m_nIndexOffset = 0;
    CString m_strHeader;
    std::vector<DWORD> m_positions;
};
