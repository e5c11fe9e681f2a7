#include "framework/system/win32/Win32Api.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

namespace Win32 {

namespace {

HANDLE HandleOf(int fd) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

OVERLAPPED At(uint64_t position) {
    OVERLAPPED at = {};
    at.Offset = (DWORD)position;
    at.OffsetHigh = (DWORD)(position >> 32);
    return at;
}

void (*g_pfnOnEnding)() = nullptr;

BOOL WINAPI OnConsoleEvent(DWORD) {
    if (g_pfnOnEnding)
        g_pfnOnEnding();
    return FALSE; // the default handler ends the process
}

} // namespace

std::wstring Widen(const std::string& utf8) {
    if (utf8.empty())
        return std::wstring();
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), nullptr, 0);
    std::wstring out(n > 0 ? n : 0, L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), out.data(), n);
    return out;
}

std::string Narrow(const wchar_t* utf16, size_t nUnits) {
    if (nUnits == 0)
        return std::string();
    const int n = WideCharToMultiByte(CP_UTF8, 0, utf16, (int)nUnits, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n : 0, '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, utf16, (int)nUnits, out.data(), n, nullptr, nullptr);
    return out;
}

std::string ModuleFileName() {
    // A long path needs a longer buffer, which the call says by filling the one it got.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), (DWORD)path.size());
        if (n == 0)
            return std::string();
        if (n < path.size())
            return Narrow(path.data(), n);
        if (path.size() >= 32768)
            return std::string();
        path.resize(path.size() * 2);
    }
}

std::string TempPath() {
    wchar_t path[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, path);
    return n > 0 && n <= MAX_PATH ? Narrow(path, n) : std::string();
}

std::string CreateTempFile(const std::string& folder, const std::string& prefix) {
    wchar_t path[MAX_PATH];
    if (GetTempFileNameW(Widen(folder).c_str(), Widen(prefix.substr(0, 3)).c_str(), 0, path) == 0)
        return std::string();
    return Narrow(path, wcslen(path));
}

uint32_t RemoveFile(const std::string& path) {
    return DeleteFileW(Widen(path).c_str()) ? 0 : (uint32_t)GetLastError();
}

void OnEndingEvent(void (*pfn)()) {
    g_pfnOnEnding = pfn;
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

int OpenFile(const std::string& path, bool bRead, bool bWrite, bool bCreate) {
    const DWORD access = (bRead ? GENERIC_READ : 0) | (bWrite ? GENERIC_WRITE : 0);
    const HANDLE h = CreateFileW(
        Widen(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, bCreate ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return -1;
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_BINARY);
    if (fd < 0)
        CloseHandle(h);
    return fd;
}

void CloseFile(int fd) {
    _close(fd);
}

uint32_t ReadFileAt(int fd, void* buffer, uint32_t n, uint64_t position, uint32_t& done) {
    OVERLAPPED at = At(position);
    DWORD got = 0;
    const BOOL bRead = ReadFile(HandleOf(fd), buffer, n, &got, &at);
    done = got;
    if (bRead || GetLastError() == ERROR_HANDLE_EOF)
        return 0;
    return (uint32_t)GetLastError();
}

uint32_t WriteFileAt(int fd, const void* buffer, uint32_t n, uint64_t position, uint32_t& done) {
    OVERLAPPED at = At(position);
    DWORD put = 0;
    const BOOL bWritten = WriteFile(HandleOf(fd), buffer, n, &put, &at);
    done = put;
    return bWritten ? 0 : (uint32_t)GetLastError();
}

uint64_t GetFileSize(int fd) {
    LARGE_INTEGER size;
    return GetFileSizeEx(HandleOf(fd), &size) ? (uint64_t)size.QuadPart : 0;
}

bool ShellOpen(const std::string& address) {
    const HINSTANCE result =
        ShellExecuteW(nullptr, L"open", Widen(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

std::string ReadClassesRootString(const std::string& key) {
    wchar_t value[2048];
    DWORD size = sizeof value;
    // An expandable value (%SystemRoot%, %ProgramFiles%) comes expanded and counts as REG_SZ;
    // asking for REG_EXPAND_SZ as well would need RRF_NOEXPAND, and fails the call without it.
    if (RegGetValueW(HKEY_CLASSES_ROOT, Widen(key).c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value,
                     &size) != ERROR_SUCCESS)
        return std::string();
    return Narrow(value, wcslen(value));
}

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
    std::vector<std::string> words;
    if (commandLine.find_first_not_of(" \t") == std::string::npos)
        return words;
    int n = 0;
    wchar_t** argv = CommandLineToArgvW(Widen(commandLine).c_str(), &n);
    if (!argv)
        return words;
    for (int i = 0; i < n; ++i)
        words.push_back(Narrow(argv[i], wcslen(argv[i])));
    LocalFree(argv);
    return words;
}

} // namespace Win32
