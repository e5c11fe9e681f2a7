// The picture of one item: JPEG bytes from the item's record, decoded at once through a
// temporary file into a 24-bit bottom-up DIB section that the windows draw.
#pragma once

#include "data/ArchiveReader.h"
#include "framework/core/StringArray.h"
#include "framework/gdi/GdiObject.h"

class CItemPicture : public CBitmap {
public:
    ~CItemPicture() override;

    // Reads the picture record (presence flag, byte count, bytes) and decodes the picture.
    virtual void Serialize(CArchiveReader& ar);
    // Writes the bytes to a new temporary file and decodes it. Without a bitmap afterwards
    // when the picture cannot be decoded (the reason is on stderr or shown to the user).
    void Decode(const BYTE* bytes, DWORD n);

    const CStringArray& GetTempFiles() const { return m_tempFiles; }

    // Pictures whose rows would take more bytes than this are refused before decoding. The
    // default is 1 GiB, or the machine's memory when that is smaller.
    static void SetMaxPixelBytes(ULONGLONG nBytes);
    static ULONGLONG GetMaxPixelBytes();

private:
    BOOL MakeTempFile(CString& path);

    CStringArray m_tempFiles;
};
