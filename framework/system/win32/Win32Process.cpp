#include "framework/system/win32/Win32Api.h"

#include <windows.h>

namespace Win32 {

namespace {

// One argument quoted so that the child's CommandLineToArgvW gives it back unchanged:
// backslashes double only where a quote follows them.
std::wstring Quote(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos)
        return arg;
    std::wstring out = L"\"";
    size_t slashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++slashes;
            continue;
        }
        out.append(c == L'"' ? slashes * 2 + 1 : slashes, L'\\');
        slashes = 0;
        out += c;
    }
    out.append(slashes * 2, L'\\');
    return out + L"\"";
}

std::wstring CommandLineOf(const std::vector<std::string>& args) {
    std::wstring line;
    for (const std::string& a : args)
        line += (line.empty() ? L"" : L" ") + Quote(Widen(a));
    return line;
}

} // namespace

StartResult StartProcess(const std::vector<std::string>& args, int waitMs, int& exitCode,
                         uint32_t& error) {
    error = 0;
    if (args.empty())
        return START_FAILED;
    const std::string program = FindOnPath(args[0]);
    std::wstring line = CommandLineOf(args);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (program.empty() || !CreateProcessW(Widen(program).c_str(), line.data(), nullptr, nullptr,
                                           FALSE, 0, nullptr, nullptr, &startup, &process)) {
        error = program.empty() ? ERROR_FILE_NOT_FOUND : GetLastError();
        return START_FAILED;
    }
    CloseHandle(process.hThread);
    StartResult result = START_RUNNING;
    if (WaitForSingleObject(process.hProcess, waitMs > 0 ? (DWORD)waitMs : 0) == WAIT_OBJECT_0) {
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        exitCode = (int)code;
        result = START_FINISHED;
    }
    CloseHandle(process.hProcess);
    return result;
}

bool CaptureProcess(const std::vector<std::string>& args, std::string& output, int timeoutMs,
                    size_t maxBytes) {
    output.clear();
    const std::string program = args.empty() ? std::string() : FindOnPath(args[0]);
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE hRead = nullptr, hWrite = nullptr;
    if (program.empty() || !CreatePipe(&hRead, &hWrite, &inherit, 0))
        return false;
    SetHandleInformation(hRead, HANDLE_FLAG_INHERIT, 0);
    std::wstring line = CommandLineOf(args);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = hWrite;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process = {};
    const BOOL bStarted =
        CreateProcessW(Widen(program).c_str(), line.data(), nullptr, nullptr, TRUE,
                       CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
    CloseHandle(hWrite);
    if (!bStarted) {
        CloseHandle(hRead);
        return false;
    }
    CloseHandle(process.hThread);
    // The pipe ends when the child (and anything it passed the handle to) has gone.
    const DWORD deadline = GetTickCount() + (DWORD)timeoutMs;
    char chunk[4096];
    for (;;) {
        DWORD avail = 0;
        if (!PeekNamedPipe(hRead, nullptr, 0, nullptr, &avail, nullptr))
            break;
        if (avail > 0) {
            DWORD got = 0;
            if (!ReadFile(hRead, chunk, avail < sizeof chunk ? avail : sizeof chunk, &got, nullptr))
                break;
            if (output.size() < maxBytes)
                output.append(chunk,
                              got < maxBytes - output.size() ? got : maxBytes - output.size());
            continue;
        }
        if ((int)(GetTickCount() - deadline) >= 0) {
            TerminateProcess(process.hProcess, 1);
            break;
        }
        Sleep(5);
    }
    CloseHandle(hRead);
    DWORD code = 1;
    if (WaitForSingleObject(process.hProcess, 1000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    return code == 0;
}

std::string FindOnPath(const std::string& name) {
    if (name.empty())
        return std::string();
    wchar_t path[MAX_PATH];
    const DWORD n = SearchPathW(nullptr, Widen(name).c_str(), L".exe", MAX_PATH, path, nullptr);
    return n > 0 && n < MAX_PATH ? Narrow(path, n) : std::string();
}

void ShowMessageBox(const std::string& caption, const std::string& text) {
    MessageBoxW(GetActiveWindow(), Widen(text).c_str(), Widen(caption).c_str(),
                MB_OK | MB_ICONEXCLAMATION);
}

} // namespace Win32
