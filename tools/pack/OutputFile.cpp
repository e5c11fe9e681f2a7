#include "tools/pack/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include "tools/pack/PackCatalogue.h"

namespace {
// The temporary file to remove if a signal ends the process; one output at a time.
char g_szPendingPath[4096];

void RemovePendingAndDie(int signal) {
    if (g_szPendingPath[0])
        ::unlink(g_szPendingPath);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void WatchSignals(const std::string& path) {
    if (path.size() >= sizeof g_szPendingPath)
        return;
    std::memcpy(g_szPendingPath, path.c_str(), path.size() + 1);
    for (int s : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
        std::signal(s, RemovePendingAndDie);
}

// The process's umask; reading it means setting it, so it is set straight back.
mode_t CurrentUmask() {
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

void StopWatching() {
    g_szPendingPath[0] = 0;
    for (int s : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
        std::signal(s, SIG_DFL);
}
} // namespace

COutputFile::COutputFile(const std::string& path) : m_path(path) {
    std::string pattern = path + ".partial-XXXXXX";
    m_fd = ::mkstemp(pattern.data());
    if (m_fd < 0)
        throw CPackError(path + ": cannot create: " + std::strerror(errno));
    m_tempPath = pattern;
    WatchSignals(m_tempPath);
}

COutputFile::~COutputFile() {
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_tempPath.empty()) {
        ::unlink(m_tempPath.c_str());
        StopWatching();
    }
}

void COutputFile::Fail(const std::string& what) const {
    throw CPackError(m_path + ": " + what + ": " + std::strerror(errno));
}

void COutputFile::Write(const void* data, size_t n) {
    const BYTE* p = static_cast<const BYTE*>(data);
    while (n > 0) {
        const ssize_t done = ::write(m_fd, p, n);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            Fail("cannot write");
        p += done;
        n -= (size_t)done;
        m_nPosition += (ULONGLONG)done;
    }
}

void COutputFile::AppendFile(const std::string& path, ULONGLONG nBytes, bool bWholeFile) {
    const int in = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        throw CPackError(path + ": cannot open: " + std::strerror(errno));
    ULONGLONG nLeft = nBytes;
    bool bKernelCopy = true;
    BYTE buffer[1 << 16];
    while (nLeft > 0) {
        ssize_t n = -1;
        if (bKernelCopy) {
            // The kernel copies (or shares) the blocks without passing them through us.
            n = ::copy_file_range(in, nullptr, m_fd, nullptr,
                                  (size_t)std::min<ULONGLONG>(nLeft, 1 << 30), 0);
            if (n < 0 &&
                (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)) {
                bKernelCopy = false;
                continue;
            }
            if (n > 0)
                m_nPosition += (ULONGLONG)n;
        } else {
            n = ::read(in, buffer, (size_t)std::min<ULONGLONG>(nLeft, sizeof buffer));
            if (n > 0)
                Write(buffer, (size_t)n);
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ::close(in);
            throw CPackError(
                path + (n < 0 ? ": cannot read" : ": the file changed while it was being packed"));
        }
        nLeft -= (ULONGLONG)n;
    }
    char extra;
    const ssize_t more = bWholeFile ? ::read(in, &extra, 1) : 0;
    ::close(in);
    if (more != 0)
        throw CPackError(path + ": the file changed while it was being packed");
}

void COutputFile::Commit(unsigned mode) {
    // mkstemp made the file 0600; the mode it gets is the one a plain create would give.
    if (::fchmod(m_fd, (mode_t)mode & ~CurrentUmask()) != 0)
        Fail("cannot set the file mode");
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        Fail("cannot write");
    if (::rename(m_tempPath.c_str(), m_path.c_str()) != 0)
        Fail("cannot rename the finished file into place");
    m_tempPath.clear();
    StopWatching();
}
