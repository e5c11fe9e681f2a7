#include "framework/system/WebOpener.h"

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "framework/system/Process.h"

namespace {

const int LOOKUP_TIMEOUT_MS = 3000;

std::vector<std::string> DataFolders() {
    std::vector<std::string> folders;
    const char* home = getenv("XDG_DATA_HOME");
    const char* user = getenv("HOME");
    if (home && *home)
        folders.push_back(home);
    else if (user && *user)
        folders.push_back(std::string(user) + "/.local/share");
    const char* dirs = getenv("XDG_DATA_DIRS");
    std::string list = dirs && *dirs ? dirs : "/usr/local/share:/usr/share";
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(':', start);
        if (end == std::string::npos)
            end = list.size();
        if (end > start)
            folders.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return folders;
}

bool IsReadable(const std::string& path) {
    return access(path.c_str(), R_OK) == 0;
}

} // namespace

BOOL CWebOpener::OpenWithDesktop(const CString& address, int waitMs) {
    CString safe;
    if (!AcceptAddress(address, safe))
        return FALSE;
    int code = 0;
    CProcess::State s = CProcess::Start({"xdg-open", safe}, waitMs, &code);
    return s == CProcess::StillRunning || (s == CProcess::Finished && code == 0);
}

CString CWebOpener::FindDesktopFile(const CString& desktopId) {
    const std::string id = desktopId.Str();
    if (id.empty() || id.find('/') != std::string::npos || id == "." || id == "..")
        return CString();
    // A desktop id "vendor-app.desktop" may also live as applications/vendor/app.desktop.
    std::vector<std::string> names = {id};
    std::string nested = id;
    for (size_t dash; (dash = nested.find('-')) != std::string::npos;) {
        nested[dash] = '/';
        names.push_back(nested);
    }
    for (const std::string& folder : DataFolders()) {
        for (const std::string& name : names) {
            std::string path = folder + "/applications/" + name;
            if (IsReadable(path))
                return CString(path);
        }
    }
    return CString();
}

CString CWebOpener::RegisteredBrowserCommand() {
    CString id;
    if (CProcess::Capture({"xdg-mime", "query", "default", "x-scheme-handler/http"}, id,
                          LOOKUP_TIMEOUT_MS)) {
        CString file = FindDesktopFile(CString(CWebOpener::Trimmed(id.Str())));
        CString exec = file.IsEmpty() ? CString() : ReadExecLine(file);
        if (!exec.IsEmpty())
            return CutBeforePlaceholder(exec);
    }
    const char* browser = getenv("BROWSER");
    if (browser && *browser) {
        std::string first = browser;
        first = first.substr(0, first.find(':'));
        if (!CWebOpener::Trimmed(first).empty())
            return CutBeforePlaceholder(CString(first));
    }
    CString fallback = CProcess::FindOnPath("x-www-browser");
    return fallback;
}

BOOL CWebOpener::OpenWithCommand(const CString& commandLine, const CString& address) {
    CString safe;
    if (!AcceptAddress(address, safe))
        return FALSE;
    std::vector<CString> args = SplitCommandLine(commandLine);
    if (args.empty())
        return FALSE;
    args.push_back(safe);
    return CProcess::Start(args) != CProcess::FailedToStart;
}
