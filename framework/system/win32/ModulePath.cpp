#include "framework/system/ModulePath.h"

#include "framework/system/win32/Win32Api.h"

CString AfxGetRunningModulePath() {
    return CString(Win32::ModuleFileName());
}
