#include "framework/system/ModulePath.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

CString g_strArgv0;

BOOL IsReadableFile(const char* path) {
    struct stat st;
    return *path && ::stat(path, &st) == 0 && S_ISREG(st.st_mode) && ::access(path, R_OK) == 0;
}

} // namespace

void AfxSetArgv(int argc, char** argv) { g_strArgv0 = argc > 0 && argv && argv[0] ? argv[0] : ""; }

CString AfxGetArgv0() { return g_strArgv0; }

CString AfxGetModulePath() {
    if (IsReadableFile(g_strArgv0)) return g_strArgv0;
    char target[4096];
    const ssize_t n = ::readlink("/proc/self/exe", target, sizeof target - 1);
    if (n > 0) {
        target[n] = '\0';
        if (IsReadableFile(target)) return CString(target);
    }
    // Still opens the executable when its file was renamed or deleted meanwhile.
    return CString("/proc/self/exe");
}
