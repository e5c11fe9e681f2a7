// Reads the collection's object stream (little-endian primitives, counts, strings, raw
// blocks) from an open file through a 4096-byte buffer. Load only.
#pragma once

#include "data/ArchiveException.h"
#include "framework/core/ByteSource.h"
#include "framework/core/StringArray.h"
#include "framework/system/File.h"

class CArchiveReader : public CByteSource {
public:
    enum { BUFFER_SIZE = 4096 };
    static constexpr ULONGLONG NO_LENGTH_YET = ~0ULL;

    // Reads nothing yet: the first read starts at the file's position at that moment.
    explicit CArchiveReader(CFile* pFile);
    CArchiveReader(const CArchiveReader&) = delete;
    CArchiveReader& operator=(const CArchiveReader&) = delete;

    // These raise CArchiveException(endOfFile) when the file ends before the value does, and
    // for lengths and counts larger than the bytes that remain.
    BYTE ReadByte();
    WORD ReadWord();
    DWORD ReadDword();
    DWORD ReadCount();
    void ReadString(CString& str);
    void ReadStringArray(CStringArray& strings);

    CArchiveReader& operator>>(BYTE& b) {
        b = ReadByte();
        return *this;
    }
    CArchiveReader& operator>>(WORD& w) {
        w = ReadWord();
        return *this;
    }
    CArchiveReader& operator>>(DWORD& d) {
        d = ReadDword();
        return *this;
    }
    CArchiveReader& operator>>(CString& s) {
        ReadString(s);
        return *this;
    }

    // Copies up to n raw bytes; fewer only at the end of the file. Raises nothing.
    UINT Read(void* buffer, UINT n) override;
    ULONGLONG GetRemaining() const override;
    // The file position of the next byte this reader hands out.
    ULONGLONG GetPosition() const { return m_pFile->GetPosition() - (m_nEnd - m_nCur); }
    void Close();

private:
    // Makes at least n bytes available in the buffer, or raises endOfFile.
    void Require(UINT n);
    // The character count of a string prefix; sets bUtf16 when the 0xFFFE mark was seen.
    DWORD ReadStringLength(BOOL& bUtf16);
    static void ThrowEndOfFile();

    CFile* m_pFile;
    mutable ULONGLONG m_nFileLength = NO_LENGTH_YET;
    UINT m_nCur = 0;
    UINT m_nEnd = 0;
    BYTE m_buffer[BUFFER_SIZE];
};
