#include "ClassesRootOverride.h"

#include <windows.h>

#include "framework/system/win32/Win32Api.h"

namespace {
const wchar_t SCRATCH_KEY[] = L"Software\\slideshow-test-classes";
}

CClassesRootOverride::CClassesRootOverride() {
    HKEY scratch = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, SCRATCH_KEY, 0, nullptr, REG_OPTION_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &scratch, nullptr) != ERROR_SUCCESS)
        return;
    m_hScratch = scratch;
    m_bActive = RegOverridePredefKey(HKEY_CLASSES_ROOT, scratch) == ERROR_SUCCESS;
}

CClassesRootOverride::~CClassesRootOverride() {
    if (m_bActive)
        RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
    if (m_hScratch) {
        RegCloseKey(static_cast<HKEY>(m_hScratch));
        RegDeleteTreeW(HKEY_CURRENT_USER, SCRATCH_KEY);
    }
}

bool CClassesRootOverride::SetHttpCommand(const std::string& commandLine) {
    if (!m_bActive)
        return false;
    // Keys under a volatile key must be volatile too.
    HKEY command = nullptr;
    if (RegCreateKeyExW(static_cast<HKEY>(m_hScratch), L"http\\shell\\open\\command", 0, nullptr,
                        REG_OPTION_VOLATILE, KEY_SET_VALUE, nullptr, &command,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const std::wstring value = Win32::Widen(commandLine);
    const LONG result = RegSetValueExW(command, nullptr, 0, REG_EXPAND_SZ,
                                       reinterpret_cast<const BYTE*>(value.c_str()),
                                       (DWORD)((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(command);
    return result == ERROR_SUCCESS;
}
