#include "framework/system/TempFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

DWORD GetTempPath(DWORD nBufferLength, LPSTR buffer) {
    const char* env = std::getenv("TMPDIR");
    std::string dir = env && *env ? env : "/tmp";
    struct stat st;
    if (::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return 0;
    if (dir.back() != '/') dir += '/';
    if (!buffer || dir.size() + 1 > nBufferLength) return 0;
    std::memcpy(buffer, dir.c_str(), dir.size() + 1);
    return (DWORD)dir.size();
}

UINT GetTempFileName(LPCSTR pathName, LPCSTR prefix, UINT uUnique, LPSTR tempFileName) {
    if (!pathName || !prefix || !tempFileName || uUnique != 0) return 0;
    std::string name = pathName;
    if (!name.empty() && name.back() != '/') name += '/';
    name += std::string(prefix).substr(0, 3) + "XXXXXX.tmp";
    if (name.size() + 1 > MAX_PATH) return 0;
    const int fd = ::mkostemps(name.data(), 4, O_CLOEXEC);
    if (fd < 0) return 0;
    ::close(fd);
    std::memcpy(tempFileName, name.c_str(), name.size() + 1);
    return 1;
}
