#include "framework/system/WebOpener.h"

#include "framework/system/Process.h"
#include "framework/system/win32/Win32Api.h"

// The shell opens the address with whatever the user chose for it.
BOOL CWebOpener::OpenWithDesktop(const CString& address, int waitMs) {
    (void)waitMs; // the shell answers at once
    CString safe;
    if (!AcceptAddress(address, safe))
        return FALSE;
    return Win32::ShellOpen(safe.Str()) ? TRUE : FALSE;
}

// Windows keeps no desktop entries; the registry holds the browser's command.
CString CWebOpener::FindDesktopFile(const CString&) {
    return CString();
}

// The command the registry gives for http addresses, its "%1" placeholder still in it.
CString CWebOpener::RegisteredBrowserCommand() {
    return CString(Win32::ReadClassesRootString("http\\shell\\open\\command"));
}

BOOL CWebOpener::OpenWithCommand(const CString& commandLine, const CString& address) {
    CString safe;
    if (!AcceptAddress(address, safe))
        return FALSE;
    std::vector<CString> args;
    for (const std::string& word : Win32::SplitCommandLine(commandLine.Str()))
        args.push_back(CString(word));
    if (args.empty())
        return FALSE;
    args.push_back(safe);
    return CProcess::Start(args) != CProcess::FailedToStart;
}
