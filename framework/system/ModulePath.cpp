#include "framework/system/ModulePath.h"

namespace {

CString g_strArgv0;
CString g_strModulePath;

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
    const CString strRunning = AfxGetRunningModulePath();
    return strRunning.IsEmpty() ? g_strArgv0 : strRunning;
}
