// The file a command writes: built under a temporary name beside its final path and renamed
// into place only when complete, so the path holds either the whole result or nothing. The
// temporary file is removed on every failure, and also when the process is interrupted.
#pragma once

#include <string>

#include "framework/core/WinTypes.h"

class COutputFile {
public:
    // Throws CPackError when the folder cannot take the file.
    explicit COutputFile(const std::string& path);
    ~COutputFile();
    COutputFile(const COutputFile&) = delete;
    COutputFile& operator=(const COutputFile&) = delete;

    void Write(const void* data, size_t n);
    // Appends exactly nBytes from the start of another file; throws when it holds fewer, or
    // more when `bWholeFile`.
    void AppendFile(const std::string& path, ULONGLONG nBytes, bool bWholeFile = true);
    ULONGLONG GetPosition() const { return m_nPosition; }
    // Gives the file its mode, less the umask, and its final name.
    void Commit(unsigned mode);

private:
    [[noreturn]] void Fail(const std::string& what) const;

    std::string m_path;
    std::string m_tempPath;
    int m_fd = -1;
    ULONGLONG m_nPosition = 0;
};
