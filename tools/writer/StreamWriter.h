// Writes the collection's archive stream encoding into a growing byte buffer: the integer
// primitives, counts, strings in each prefix form, string arrays, raw blocks, picture records
// and image-list streams.
#pragma once

#include <vector>

#include "framework/core/StringArray.h"
#include "framework/gdi/ImageList.h"

// How a string's characters are stored.
enum STRING_FORM {
    STRING_AUTO,  // one byte each (Windows-1252) when every character has one, else UTF-16
    STRING_ANSI,  // one byte each; characters without a one-byte form become '?'
    STRING_UTF16, // the 0xFFFE mark, then two bytes each
};

// Which length prefix is written; the shortest one that holds the length unless forced.
enum PREFIX_FORM {
    PREFIX_SHORTEST,
    PREFIX_WORD,  // FF then a WORD (lengths below 0xFFFE)
    PREFIX_DWORD, // FF FF FF then a DWORD
};

class CStreamWriter {
public:
    void WriteByte(BYTE b);
    void WriteWord(WORD w);
    void WriteDword(DWORD d);
    void WriteCount(DWORD n);
    void WriteLengthPrefix(DWORD nChars, PREFIX_FORM prefix = PREFIX_SHORTEST);
    void WriteString(const CString& text, STRING_FORM form = STRING_AUTO,
                     PREFIX_FORM prefix = PREFIX_SHORTEST);
    void WriteStringArray(const CStringArray& strings);
    void WriteBytes(const void* data, size_t n);
    void WriteBytes(const std::vector<BYTE>& bytes) { WriteBytes(bytes.data(), bytes.size()); }
    // The presence flag, and when `bPresent` the byte count and the JPEG bytes as given.
    void WritePicture(BOOL bPresent, const std::vector<BYTE>& jpeg);
    // One image-list stream of version 0x0101 (four tiles a row) from decoded images: a
    // 24-bit strip with a mask when `list.bMask`, otherwise a 32-bit strip with its alpha.
    void WriteImageList(const IMAGELIST_DATA& list);

    const std::vector<BYTE>& GetBytes() const { return m_bytes; }
    size_t GetSize() const { return m_bytes.size(); }

private:
    std::vector<BYTE> m_bytes;
};
