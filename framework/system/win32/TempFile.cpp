#include "framework/system/TempFile.h"

#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "framework/system/TempFileRegistry.h"
#include "framework/system/win32/Win32Api.h"

namespace {} // namespace

DWORD GetTempPath(DWORD nBufferLength, LPSTR buffer) {
    const std::string dir = Win32::TempPath();
    if (dir.empty() || !buffer || dir.size() + 1 > nBufferLength)
        return 0;
    std::memcpy(buffer, dir.c_str(), dir.size() + 1);
    return (DWORD)dir.size();
}

UINT GetTempFileName(LPCSTR pathName, LPCSTR prefix, UINT uUnique, LPSTR tempFileName) {
    if (!pathName || !prefix || !tempFileName || uUnique != 0)
        return 0;
    TEMP_FILE_SLOT* pSlot = AfxClaimTempFileSlot();
    const std::string name = Win32::CreateTempFile(pathName, prefix);
    if (name.empty() || name.size() + 1 > MAX_PATH) {
        if (!name.empty())
            Win32::RemoveFile(name);
        AfxAbandonTempFileSlot(pSlot);
        return 0;
    }
    AfxCommitTempFileSlot(pSlot, name.c_str());
    std::memcpy(tempFileName, name.c_str(), name.size() + 1);
    return 1;
}

// Windows has no ending signals; the console's and the session's ending events take their
// place.
void AfxInstallTempFileCleanup() {
    static bool s_bOnce = false;
    if (s_bOnce)
        return;
    s_bOnce = true;
    Win32::OnEndingEvent(AfxRemoveTempFiles);
    AfxRemoveTempFilesAtExit();
}

void AfxDeleteTempFileNow(LPCSTR path) {
    Win32::RemoveFile(path);
}
