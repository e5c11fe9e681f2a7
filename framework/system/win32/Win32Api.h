// The Windows calls the framework's services make, behind plain C++ types: <windows.h> defines
// the same names as the framework's own types, so only the files that implement this header
// include it. Text is UTF-8 here and UTF-16 in every call.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Win32 {

std::wstring Widen(const std::string& utf8);
std::string Narrow(const wchar_t* utf16, size_t nUnits);

// The running executable (GetModuleFileNameW); empty when the call fails.
std::string ModuleFileName();
// GetTempPathW: the temporary folder, ending in a backslash; empty when there is none.
std::string TempPath();
// GetTempFileNameW: creates a new empty file in the folder with the prefix's first three
// characters in its name; empty when none could be made.
std::string CreateTempFile(const std::string& folder, const std::string& prefix);
// DeleteFileW; the system's error code when it fails (0 when it worked).
uint32_t RemoveFile(const std::string& path);
// Calls the function when the console or the session ends the process (Ctrl+C, closing the
// console, logging off), before the process goes.
void OnEndingEvent(void (*pfn)());

// Files as C runtime descriptors over CreateFileW handles; -1 when the file cannot be opened.
int OpenFile(const std::string& path, bool bRead, bool bWrite, bool bCreate);
void CloseFile(int fd);
// Transfers at a position of the caller's; the system's error code, 0 on success.
uint32_t ReadFileAt(int fd, void* buffer, uint32_t n, uint64_t position, uint32_t& done);
uint32_t WriteFileAt(int fd, const void* buffer, uint32_t n, uint64_t position, uint32_t& done);
uint64_t GetFileSize(int fd);
enum {
    ERROR_CODE_FILE_NOT_FOUND = 2,
    ERROR_CODE_PATH_NOT_FOUND = 3,
    ERROR_CODE_ACCESS_DENIED = 5,
    ERROR_CODE_SHARING_VIOLATION = 32,
    ERROR_CODE_HANDLE_DISK_FULL = 39,
    ERROR_CODE_DISK_FULL = 112
};

// ShellExecuteW "open": TRUE when the shell took the address.
bool ShellOpen(const std::string& address);
// The default value of a key under HKEY_CLASSES_ROOT; empty when there is none.
std::string ReadClassesRootString(const std::string& key);
// CommandLineToArgvW: the words of a command line as a program would receive them.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

// CreateProcessW with the arguments quoted for the child's own split.
enum StartResult { START_FAILED, START_RUNNING, START_FINISHED };
StartResult StartProcess(const std::vector<std::string>& args, int waitMs, int& exitCode,
                         uint32_t& error);
// Runs the program to its end (killed after timeoutMs), collecting its standard output.
bool CaptureProcess(const std::vector<std::string>& args, std::string& output, int timeoutMs,
                    size_t maxBytes);
// SearchPathW for an executable of that name (".exe" added when it has none).
std::string FindOnPath(const std::string& name);

// MessageBoxW with an OK button, owned by the window that is active in this thread.
void ShowMessageBox(const std::string& caption, const std::string& text);

} // namespace Win32
