#include "framework/system/File.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "framework/system/TempFile.h"

namespace {
int CauseOf(int error) {
    switch (error) {
    case ENOENT:
        return CFileException::fileNotFound;
    case EACCES:
    case EPERM:
        return CFileException::accessDenied;
    case ENOSPC:
        return CFileException::diskFull;
    default:
        return CFileException::genericException;
    }
}
} // namespace

BOOL CFile::Open(LPCTSTR path, UINT nOpenFlags) {
    Close();
    int flags = O_CLOEXEC;
    if (nOpenFlags & modeReadWrite)
        flags |= O_RDWR;
    else if (nOpenFlags & modeWrite)
        flags |= O_WRONLY;
    else
        flags |= O_RDONLY;
    if (nOpenFlags & modeCreate)
        flags |= O_CREAT;
    const int fd = ::open(path, flags, 0600);
    if (fd < 0)
        return FALSE;
    // Truncating only what holds something: some file systems flush a file to disk when it
    // is closed after a truncation, which costs a freshly created temporary file dearly.
    struct stat st;
    if ((nOpenFlags & modeCreate) &&
        (::fstat(fd, &st) != 0 || (st.st_size != 0 && ::ftruncate(fd, 0) != 0))) {
        ::close(fd);
        return FALSE;
    }
    m_hFile = fd;
    m_nPosition = 0;
    m_strPath = path;
    return TRUE;
}

void CFile::Close() {
    if (m_hFile >= 0)
        ::close(m_hFile);
    m_hFile = -1;
    m_nPosition = 0;
}

UINT CFile::Read(void* buffer, UINT n) {
    UINT done = 0;
    while (m_hFile >= 0 && done < n) {
        const ssize_t got = ::pread(m_hFile, static_cast<char*>(buffer) + done, n - done,
                                    (off_t)(m_nPosition + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += (UINT)got;
    }
    m_nPosition += done;
    return done;
}

void CFile::Write(const void* buffer, UINT n) {
    UINT done = 0;
    while (done < n) {
        const ssize_t put = m_hFile >= 0
                                ? ::pwrite(m_hFile, static_cast<const char*>(buffer) + done,
                                           n - done, (off_t)(m_nPosition + done))
                                : -1;
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            throw CFileException(CauseOf(put < 0 ? errno : ENOSPC), errno, m_strPath);
        done += (UINT)put;
    }
    m_nPosition += done;
}

ULONGLONG CFile::GetLength() const {
    struct stat st;
    if (m_hFile < 0 || ::fstat(m_hFile, &st) != 0)
        return 0;
    return (ULONGLONG)st.st_size;
}

void CFile::Remove(LPCTSTR path) {
    const int result = ::unlink(path);
    const int error = errno;
    // Forgotten only once it is gone: an ending signal in between removes it again, harmlessly.
    AfxForgetTempFile(path);
    if (result != 0)
        throw CFileException(CauseOf(error), error, path);
}
