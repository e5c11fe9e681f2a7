// A binary file opened by path, read and written in place, with the platform's open flags.
// Failures of Write and Remove raise CFileException; the others report by return value.
#pragma once

#include "framework/core/Exception.h"
#include "framework/core/String.h"

class CFileException : public CException {
public:
    enum { none = 0, genericException = 1, fileNotFound = 2, accessDenied = 5, diskFull = 14 };
    CFileException(int cause, int osError, const CString& fileName)
        : m_cause(cause), m_lOsError(osError), m_strFileName(fileName) {}
    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

class CFile {
public:
    enum OpenFlags {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareDenyNone = 0x0040,
        modeCreate = 0x1000,
        typeBinary = 0x8000,
    };
    enum SeekPosition { begin = 0, current = 1, end = 2 };

    CFile() = default;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    ~CFile();

    BOOL Open(LPCTSTR path, UINT nOpenFlags);
    void Close();
    BOOL IsOpen() const { return m_hFile >= 0; }
    // Copies up to n bytes from the current position; fewer at the end of the file.
    UINT Read(void* buffer, UINT n);
    void Write(const void* buffer, UINT n);
    // The new position, or (ULONGLONG)-1 when the seek is refused.
    ULONGLONG Seek(int64_t offset, UINT nFrom);
    ULONGLONG GetPosition() const { return m_nPosition; }
    ULONGLONG GetLength() const;
    const CString& GetFilePath() const { return m_strPath; }

    static void Remove(LPCTSTR path);

private:
    int m_hFile = -1;
    ULONGLONG m_nPosition = 0;
    CString m_strPath;
};
