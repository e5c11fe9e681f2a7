#include "framework/system/ModulePath.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

CString g_strArgv0;
CString g_strModulePath;

BOOL IsReadableFile(const char* path) {
    struct stat st;
    return *path && ::stat(path, &st) == 0 && S_ISREG(st.st_mode) && ::access(path, R_OK) == 0;
}

} // namespace

void AfxSetArgv(int argc, char** argv) {
    g_strArgv0 = argc > 0 && argv && argv[0] ? argv[0] : "";
}

CString AfxGetArgv0() {
    return g_strArgv0;
}

void AfxSetModulePath(const CString& strPath) {
    g_strModulePath = strPath;
}

CString AfxGetModulePath() {
    if (!g_strModulePath.IsEmpty())
        return g_strModulePath;
    // The kernel's link names the file that is running; argv[0] may name another one (a bare
    // name is read relative to the current folder, not found through PATH).
    char target[4096];
    const ssize_t n = ::readlink("/proc/self/exe", target, sizeof target - 1);
    if (n > 0) {
        target[n] = '\0';
        if (IsReadableFile(target))
            return CString(target);
    }
    // Still the running file when it was renamed or deleted meanwhile.
    if (IsReadableFile("/proc/self/exe"))
        return CString("/proc/self/exe");
    return g_strArgv0;
}
