#include "framework/system/ModulePath.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

BOOL IsReadableFile(const char* path) {
    struct stat st;
    return *path && ::stat(path, &st) == 0 && S_ISREG(st.st_mode) && ::access(path, R_OK) == 0;
}

} // namespace

CString AfxGetRunningModulePath() {
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
    return CString();
}
