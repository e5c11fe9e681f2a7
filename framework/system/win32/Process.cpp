#include "framework/system/Process.h"

#include "framework/system/win32/Win32Api.h"

namespace {

std::vector<std::string> Utf8Args(const std::vector<CString>& args) {
    std::vector<std::string> out;
    for (const CString& a : args)
        out.push_back(a.Str());
    return out;
}

} // namespace

CProcess::State CProcess::Start(const std::vector<CString>& args, int waitMs, int* pExitCode,
                                int* pErrno) {
    int code = 0;
    uint32_t error = 0;
    const Win32::StartResult result = Win32::StartProcess(Utf8Args(args), waitMs, code, error);
    if (pErrno)
        *pErrno = (int)error;
    if (result == Win32::START_FAILED)
        return FailedToStart;
    if (result == Win32::START_RUNNING)
        return StillRunning;
    if (pExitCode)
        *pExitCode = code;
    return Finished;
}

BOOL CProcess::Capture(const std::vector<CString>& args, CString& output, int timeoutMs,
                       size_t maxBytes) {
    std::string text;
    const bool bOk = Win32::CaptureProcess(Utf8Args(args), text, timeoutMs, maxBytes);
    output = CString(text);
    return bOk ? TRUE : FALSE;
}

CString CProcess::FindOnPath(const CString& name) {
    return CString(Win32::FindOnPath(name.Str()));
}
