#include "framework/system/TempFile.h"

#include "framework/system/TempFileRegistry.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

namespace {

const char* const FALLBACK_DIR = "/tmp";
const int ENDING_SIGNALS[] = {SIGTERM, SIGINT, SIGHUP};

bool IsUsableDirectory(const std::string& dir) {
    struct stat st;
    return ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
           ::access(dir.c_str(), W_OK | X_OK) == 0;
}

// Blocks the ending signals in this thread while a file is made and remembered, so that no
// handler runs between the two.
class CEndingSignalsBlocked {
public:
    CEndingSignalsBlocked() {
        sigset_t set;
        sigemptyset(&set);
        for (int sig : ENDING_SIGNALS)
            sigaddset(&set, sig);
        pthread_sigmask(SIG_BLOCK, &set, &m_old);
    }
    ~CEndingSignalsBlocked() { pthread_sigmask(SIG_SETMASK, &m_old, nullptr); }

private:
    sigset_t m_old;
};

void OnEndingSignal(int sig) {
    AfxRemoveTempFiles();
    // The handler was reset to the default on entry: the signal now ends the process.
    ::raise(sig);
}

} // namespace

DWORD GetTempPath(DWORD nBufferLength, LPSTR buffer) {
    const char* env = std::getenv("TMPDIR");
    std::string dir = env && *env && IsUsableDirectory(env) ? env : FALLBACK_DIR;
    if (!IsUsableDirectory(dir))
        return 0;
    if (dir.back() != '/')
        dir += '/';
    if (!buffer || dir.size() + 1 > nBufferLength)
        return 0;
    std::memcpy(buffer, dir.c_str(), dir.size() + 1);
    return (DWORD)dir.size();
}

UINT GetTempFileName(LPCSTR pathName, LPCSTR prefix, UINT uUnique, LPSTR tempFileName) {
    if (!pathName || !prefix || !tempFileName || uUnique != 0)
        return 0;
    std::string name = pathName;
    if (!name.empty() && name.back() != '/')
        name += '/';
    name += std::string(prefix).substr(0, 3) + "XXXXXX.tmp";
    if (name.size() + 1 > MAX_PATH)
        return 0;
    TEMP_FILE_SLOT* pSlot = AfxClaimTempFileSlot();
    CEndingSignalsBlocked blocked;
    const int fd = ::mkostemps(name.data(), 4, O_CLOEXEC);
    if (fd < 0) {
        AfxAbandonTempFileSlot(pSlot);
        return 0;
    }
    ::close(fd);
    AfxCommitTempFileSlot(pSlot, name.c_str());
    std::memcpy(tempFileName, name.c_str(), name.size() + 1);
    return 1;
}

void AfxInstallTempFileCleanup() {
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = OnEndingSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND | SA_NODEFER;
    for (int sig : ENDING_SIGNALS)
        ::sigaction(sig, &action, nullptr);
    AfxRemoveTempFilesAtExit();
}

void AfxDeleteTempFileNow(LPCSTR path) {
    ::unlink(path);
}
