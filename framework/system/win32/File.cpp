#include "framework/system/File.h"

#include <cstdint>

#include "framework/system/TempFile.h"
#include "framework/system/win32/Win32Api.h"

namespace {

int CauseOf(uint32_t error) {
    switch (error) {
    case Win32::ERROR_CODE_FILE_NOT_FOUND:
    case Win32::ERROR_CODE_PATH_NOT_FOUND:
        return CFileException::fileNotFound;
    case Win32::ERROR_CODE_ACCESS_DENIED:
    case Win32::ERROR_CODE_SHARING_VIOLATION:
        return CFileException::accessDenied;
    case Win32::ERROR_CODE_DISK_FULL:
    case Win32::ERROR_CODE_HANDLE_DISK_FULL:
        return CFileException::diskFull;
    default:
        return CFileException::genericException;
    }
}

} // namespace

BOOL CFile::Open(LPCTSTR path, UINT nOpenFlags) {
    Close();
    const bool bWrite = (nOpenFlags & (modeWrite | modeReadWrite)) != 0;
    const bool bRead = (nOpenFlags & modeWrite) == 0;
    const int fd = Win32::OpenFile(path, bRead, bWrite, (nOpenFlags & modeCreate) != 0);
    if (fd < 0)
        return FALSE;
    m_hFile = fd;
    m_nPosition = 0;
    m_strPath = path;
    return TRUE;
}

void CFile::Close() {
    if (m_hFile >= 0)
        Win32::CloseFile(m_hFile);
    m_hFile = -1;
    m_nPosition = 0;
}

UINT CFile::Read(void* buffer, UINT n) {
    UINT done = 0;
    while (m_hFile >= 0 && done < n) {
        uint32_t got = 0;
        if (Win32::ReadFileAt(m_hFile, static_cast<char*>(buffer) + done, n - done,
                              m_nPosition + done, got) != 0 ||
            got == 0)
            break;
        done += got;
    }
    m_nPosition += done;
    return done;
}

void CFile::Write(const void* buffer, UINT n) {
    UINT done = 0;
    while (done < n) {
        uint32_t put = 0;
        uint32_t error = m_hFile >= 0
                             ? Win32::WriteFileAt(m_hFile, static_cast<const char*>(buffer) + done,
                                                  n - done, m_nPosition + done, put)
                             : (uint32_t)Win32::ERROR_CODE_ACCESS_DENIED;
        if (error == 0 && put == 0)
            error = (uint32_t)Win32::ERROR_CODE_DISK_FULL;
        if (error != 0)
            throw CFileException(CauseOf(error), (LONG)error, m_strPath);
        done += put;
    }
    m_nPosition += done;
}

ULONGLONG CFile::GetLength() const {
    return m_hFile >= 0 ? Win32::GetFileSize(m_hFile) : 0;
}

void CFile::Remove(LPCTSTR path) {
    const uint32_t error = Win32::RemoveFile(path);
    // Forgotten only once it is gone: the exit handler would otherwise try it again.
    AfxForgetTempFile(path);
    if (error != 0)
        throw CFileException(CauseOf(error), (LONG)error, path);
}
