#include "tools/pack/SourceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "tools/pack/PackCatalogue.h"

namespace {
void CheckMode(const std::string& path, const struct stat& st) {
    if (S_ISREG(st.st_mode))
        return;
    const char* kind = S_ISDIR(st.st_mode)    ? "a folder"
                       : S_ISFIFO(st.st_mode) ? "a FIFO"
                       : S_ISCHR(st.st_mode)  ? "a device"
                       : S_ISBLK(st.st_mode)  ? "a device"
                       : S_ISSOCK(st.st_mode) ? "a socket"
                                              : "a special file";
    throw CPackError(path + ": not a regular file (" + kind + ")");
}
} // namespace

void CSourceFile::CheckRegular(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
        struct stat link;
        if (errno == ENOENT && ::lstat(path.c_str(), &link) == 0)
            throw CPackError(path + ": a link to a file that does not exist");
        throw CPackError(path + ": cannot open: " + std::strerror(errno));
    }
    CheckMode(path, st);
}

std::string CSourceFile::ReadAll(const std::string& path) {
    // Without O_NONBLOCK, opening a FIFO waits for a writer before we could look at it.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            CheckRegular(path); // names a dangling link as such
        throw CPackError(path + ": cannot open: " + std::strerror(errno));
    }
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        throw CPackError(path + ": cannot read");
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        CheckMode(path, st);
    }
    std::string text;
    text.reserve((size_t)st.st_size);
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            throw CPackError(path + ": cannot read: " + std::strerror(error));
        }
        if (n == 0)
            break;
        text.append(chunk, (size_t)n);
    }
    ::close(fd);
    return text;
}

void CSourceFile::CheckPath(const std::string& path, const std::string& what) {
    if (path.find('\0') != std::string::npos)
        throw CPackError(what + " holds a NUL byte, so it cannot name a file");
}
