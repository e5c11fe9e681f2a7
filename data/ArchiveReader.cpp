#include "data/ArchiveReader.h"

#include <cstring>
#include <string>

#include "framework/core/TextEncoding.h"

CArchiveReader::CArchiveReader(CFile* pFile) : m_pFile(pFile) {}

void CArchiveReader::ThrowEndOfFile() {
    throw CArchiveException(CArchiveException::endOfFile);
}

void CArchiveReader::Require(UINT n) {
    if (m_nEnd - m_nCur >= n)
        return;
    std::memmove(m_buffer, m_buffer + m_nCur, m_nEnd - m_nCur);
    m_nEnd -= m_nCur;
    m_nCur = 0;
    while (m_nEnd < n) {
        const UINT got = m_pFile->Read(m_buffer + m_nEnd, BUFFER_SIZE - m_nEnd);
        if (got == 0)
            ThrowEndOfFile();
        m_nEnd += got;
    }
}

BYTE CArchiveReader::ReadByte() {
    Require(1);
    return m_buffer[m_nCur++];
}

WORD CArchiveReader::ReadWord() {
    Require(2);
    const WORD w = (WORD)(m_buffer[m_nCur] | (m_buffer[m_nCur + 1] << 8));
    m_nCur += 2;
    return w;
}

DWORD CArchiveReader::ReadDword() {
    Require(4);
    const BYTE* p = m_buffer + m_nCur;
    m_nCur += 4;
    return (DWORD)p[0] | ((DWORD)p[1] << 8) | ((DWORD)p[2] << 16) | ((DWORD)p[3] << 24);
}

DWORD CArchiveReader::ReadCount() {
    const WORD w = ReadWord();
    return w != 0xFFFF ? w : ReadDword();
}

DWORD CArchiveReader::ReadStringLength(BOOL& bUtf16) {
    const BYTE b = ReadByte();
    if (b < 0xFF)
        return b;
    const WORD w = ReadWord();
    if (w == 0xFFFF)
        return ReadDword();
    if (w != 0xFFFE)
        return w;
    // A second mark inside a UTF-16 prefix has no meaning: the record is damaged.
    if (bUtf16)
        ThrowEndOfFile();
    bUtf16 = TRUE;
    return ReadStringLength(bUtf16);
}

void CArchiveReader::ReadString(CString& str) {
    BOOL bUtf16 = FALSE;
    const ULONGLONG nChars = ReadStringLength(bUtf16);
    const ULONGLONG nBytes = bUtf16 ? 2 * nChars : nChars;
    // Most strings lie in the buffer already; only longer ones need the file's length.
    if (nBytes > m_nEnd - m_nCur && nBytes > GetRemaining())
        ThrowEndOfFile();
    if (nBytes == 0) {
        str.Empty();
        return;
    }
    const BYTE* text;
    std::string block;
    if (nBytes <= m_nEnd - m_nCur) {
        text = m_buffer + m_nCur;
        m_nCur += (UINT)nBytes;
    } else {
        block.resize((size_t)nBytes);
        if (Read(block.data(), (UINT)nBytes) != nBytes)
            ThrowEndOfFile();
        text = reinterpret_cast<const BYTE*>(block.data());
    }
    str = bUtf16 ? Utf16LeToUtf8(text, (size_t)nChars) : AnsiToUtf8(text, (size_t)nChars);
}

void CArchiveReader::ReadStringArray(CStringArray& strings) {
    const DWORD n = ReadCount();
    // Every string takes at least its one-byte prefix.
    if (n > GetRemaining() || n > 0x7FFFFFFF)
        ThrowEndOfFile();
    // Grown as the strings are read: a count that the bytes after it do not bear out costs
    // no more than the strings that are really there.
    strings.RemoveAll();
    for (DWORD i = 0; i < n; i++) {
        CString str;
        ReadString(str);
        strings.Add(std::move(str));
    }
}

UINT CArchiveReader::Read(void* buffer, UINT n) {
    const UINT fromBuffer = n < m_nEnd - m_nCur ? n : m_nEnd - m_nCur;
    if (fromBuffer)
        std::memcpy(buffer, m_buffer + m_nCur, fromBuffer);
    m_nCur += fromBuffer;
    if (fromBuffer == n)
        return n;
    return fromBuffer + m_pFile->Read(static_cast<BYTE*>(buffer) + fromBuffer, n - fromBuffer);
}

ULONGLONG CArchiveReader::GetRemaining() const {
    // Asked only for lengths that do not fit the buffer, so a name read costs no extra call.
    if (m_nFileLength == NO_LENGTH_YET)
        m_nFileLength = m_pFile->GetLength();
    const ULONGLONG position = m_pFile->GetPosition();
    const ULONGLONG inFile = position < m_nFileLength ? m_nFileLength - position : 0;
    return (m_nEnd - m_nCur) + inFile;
}

void CArchiveReader::Close() {
    m_nCur = m_nEnd = 0;
}
