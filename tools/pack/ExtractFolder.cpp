#include "tools/pack/ExtractFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "tools/pack/PackCatalogue.h"

namespace {
const char PICTURES[] = "pictures";
const char CATALOGUE[] = "catalogue.json";

bool IsEmptyFolder(int dirFd) {
    const int fd = ::dup(dirFd);
    DIR* dir = fd >= 0 ? ::fdopendir(fd) : nullptr;
    if (!dir) {
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    bool bEmpty = true;
    while (const dirent* entry = ::readdir(dir))
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            bEmpty = false;
    ::closedir(dir);
    return bEmpty;
}

[[noreturn]] void Fail(const std::string& path, const std::string& what) {
    throw CPackError(path + ": " + what + ": " + std::strerror(errno));
}
} // namespace

CExtractFolder::CExtractFolder(const std::string& dir, bool bForce) : m_dir(dir) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec)
        throw CPackError(dir + ": cannot create the folder: " + ec.message());
    // The folder named on the command line may itself be a link the user made; what lies
    // inside it is not followed.
    m_dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_dirFd < 0)
        Fail(dir, "cannot open the folder");
    if (!bForce && !IsEmptyFolder(m_dirFd)) {
        ::close(m_dirFd);
        throw CPackError(dir + ": the folder is not empty; give --force to extract into it "
                               "all the same (no file in it is replaced)");
    }
    const std::string pictures = (std::filesystem::path(dir) / PICTURES).string();
    m_bMadePictures = ::mkdirat(m_dirFd, PICTURES, 0777) == 0;
    if (!m_bMadePictures && errno != EEXIST) {
        ::close(m_dirFd);
        Fail(pictures, "cannot create the folder");
    }
    m_picturesFd = ::openat(m_dirFd, PICTURES, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (m_picturesFd < 0) {
        ::close(m_dirFd);
        if (errno == ELOOP || errno == ENOTDIR)
            throw CPackError(pictures + ": not a folder (a link or a file); it is not followed");
        Fail(pictures, "cannot open the folder");
    }
}

CExtractFolder::~CExtractFolder() {
    if (!m_bCommitted) {
        for (const std::string& name : m_pictures)
            ::unlinkat(m_picturesFd, name.c_str(), 0);
        if (!m_catalogue.empty())
            ::unlinkat(m_dirFd, m_catalogue.c_str(), 0);
        if (m_bMadePictures)
            ::unlinkat(m_dirFd, PICTURES, AT_REMOVEDIR);
    }
    ::close(m_picturesFd);
    ::close(m_dirFd);
}

std::string CExtractFolder::PicturePath(const std::string& name) const {
    return (std::filesystem::path(m_dir) / PICTURES / name).string();
}

int CExtractFolder::CreateNew(int dirFd, const std::string& name, const std::string& shownPath) {
    // The umask applies, as to any file a program creates.
    const int fd =
        ::openat(dirFd, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST)
        throw CPackError(shownPath + ": already exists; it is not replaced");
    if (fd < 0)
        Fail(shownPath, "cannot create");
    return fd;
}

void CExtractFolder::WriteAll(int fd, const std::vector<BYTE>& bytes,
                              const std::string& shownPath) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ::close(fd);
            Fail(shownPath, "cannot write");
        }
        done += (size_t)n;
    }
    if (::close(fd) != 0)
        Fail(shownPath, "cannot write");
}

void CExtractFolder::WritePicture(const std::string& name, const std::vector<BYTE>& bytes) {
    const std::string path = PicturePath(name);
    const int fd = CreateNew(m_picturesFd, name, path);
    m_pictures.push_back(name);
    WriteAll(fd, bytes, path);
}

void CExtractFolder::WriteCatalogue(const std::string& text) {
    const std::string path = (std::filesystem::path(m_dir) / CATALOGUE).string();
    const std::string temp = std::string(CATALOGUE) + ".partial-" + std::to_string(::getpid());
    const int fd = CreateNew(m_dirFd, temp, path);
    try {
        WriteAll(fd, std::vector<BYTE>(text.begin(), text.end()), path);
    } catch (const CPackError&) {
        ::unlinkat(m_dirFd, temp.c_str(), 0);
        throw;
    }
    // Renamed only where the name is free: a file or link of that name stays as it is.
    if (::renameat2(m_dirFd, temp.c_str(), m_dirFd, CATALOGUE, RENAME_NOREPLACE) != 0) {
        const int error = errno;
        ::unlinkat(m_dirFd, temp.c_str(), 0);
        errno = error;
        if (error == EEXIST)
            throw CPackError(path + ": already exists; it is not replaced");
        Fail(path, "cannot give the catalogue its name");
    }
    m_catalogue = CATALOGUE;
}
