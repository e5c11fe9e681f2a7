#include "framework/system/WebOpener.h"

#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "framework/system/Process.h"

namespace {

const int LOOKUP_TIMEOUT_MS = 3000;

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) return std::string();
    size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

std::vector<std::string> DataFolders() {
    std::vector<std::string> folders;
    const char* home = getenv("XDG_DATA_HOME");
    const char* user = getenv("HOME");
    if (home && *home) folders.push_back(home);
    else if (user && *user) folders.push_back(std::string(user) + "/.local/share");
    const char* dirs = getenv("XDG_DATA_DIRS");
    std::string list = dirs && *dirs ? dirs : "/usr/local/share:/usr/share";
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(':', start);
        if (end == std::string::npos) end = list.size();
        if (end > start) folders.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return folders;
}

// A desktop entry's string escapes: \s \n \t \r \\. Other escapes (the Exec quoting's own
// \" \$ ...) stay for the command-line split.
std::string UnescapeEntryValue(const std::string& v) {
    std::string out;
    for (size_t i = 0; i < v.size(); ++i) {
        if (v[i] == '\\' && i + 1 < v.size()) {
            char n = v[i + 1];
            const char* map = n == 's' ? " " : n == 'n' ? "\n" : n == 't' ? "\t" : n == 'r' ? "\r"
                              : n == '\\' ? "\\" : nullptr;
            if (map) {
                out += map;
                ++i;
                continue;
            }
        }
        out += v[i];
    }
    return out;
}

bool IsReadable(const std::string& path) { return access(path.c_str(), R_OK) == 0; }

bool IsSchemeChar(char c) {
    return isalnum((unsigned char)c) || c == '+' || c == '-' || c == '.';
}

// Lower-case scheme of the address ("" when it has none); `colon` is where it ends.
std::string SchemeOf(const std::string& address, size_t& colon) {
    colon = address.find(':');
    if (colon == std::string::npos || colon == 0 || !isalpha((unsigned char)address[0]))
        return std::string();
    std::string scheme;
    for (size_t i = 0; i < colon; ++i) {
        if (!IsSchemeChar(address[i]))
            return std::string();
        scheme += (char)tolower((unsigned char)address[i]);
    }
    return scheme;
}

BOOL RefuseAddress(const CString& address) {
    fprintf(
        stderr,
        "not opening the web address \"%s\": only http, https and mailto addresses are opened\n",
        address.GetString());
    return FALSE;
}

}  // namespace

BOOL CWebOpener::MakeSafeAddress(const CString& address, CString& safe) {
    const std::string a = Trim(address.Str());
    if (a.empty() || a[0] == '-')
        return FALSE;
    for (char c : a)
        if ((unsigned char)c < 0x20 || c == 0x7F)
            return FALSE;
    size_t colon = 0;
    const std::string scheme = SchemeOf(a, colon);
    if (scheme == "http" || scheme == "https" || scheme == "mailto") {
        safe = CString(a);
        return TRUE;
    }
    // "host:port" has no scheme; anything else before a colon is one we do not open.
    const bool bPort =
        !scheme.empty() && colon + 1 < a.size() && isdigit((unsigned char)a[colon + 1]);
    if (!scheme.empty() && !bPort)
        return FALSE;
    safe = CString((a.compare(0, 2, "//") == 0 ? "https:" : "https://") + a);
    return TRUE;
}

BOOL CWebOpener::OpenWithDesktop(const CString& address, int waitMs) {
    CString safe;
    if (!MakeSafeAddress(address, safe))
        return RefuseAddress(address);
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
            if (IsReadable(path)) return CString(path);
        }
    }
    return CString();
}

CString CWebOpener::ReadExecLine(const CString& desktopFilePath) {
    std::ifstream in(desktopFilePath.Str());
    std::string line;
    bool inMainGroup = false;
    while (std::getline(in, line)) {
        std::string t = Trim(line);
        if (t.empty() || t[0] == '#') continue;
        if (t[0] == '[') {
            inMainGroup = t == "[Desktop Entry]";
            continue;
        }
        if (!inMainGroup) continue;
        size_t eq = t.find('=');
        if (eq == std::string::npos || Trim(t.substr(0, eq)) != "Exec") continue;
        return CString(UnescapeEntryValue(Trim(t.substr(eq + 1))));
    }
    return CString();
}

CString CWebOpener::CutBeforePlaceholder(const CString& commandLine) {
    const std::string& s = commandLine.Str();
    for (size_t i = 0; i + 1 < s.size(); ++i) {
        if (s[i] != '%') continue;
        char c = s[i + 1];
        if (c == '%') {
            ++i;
            continue;
        }
        if (c == 'u' || c == 'U' || c == 'f' || c == 'F' || c == 's') {
            // A quoted placeholder loses its opening quote with it.
            size_t cut = i > 0 && s[i - 1] == '"' ? i - 1 : i;
            return CString(s.substr(0, cut));
        }
    }
    return commandLine;
}

std::vector<CString> CWebOpener::SplitCommandLine(const CString& commandLine) {
    std::vector<CString> words;
    const std::string& s = commandLine.Str();
    std::string word;
    bool inWord = false, quoted = false;
    for (size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        if (!quoted && (c == ' ' || c == '\t')) {
            if (inWord) words.push_back(CString(word));
            word.clear();
            inWord = false;
            continue;
        }
        inWord = true;
        if (c == '"') {
            quoted = !quoted;
        } else if (c == '\\' && i + 1 < s.size()) {
            word += s[++i];
        } else if (c == '%' && i + 1 < s.size() && s[i + 1] == '%') {
            word += '%';
            ++i;
        } else {
            word += c;
        }
    }
    if (inWord) words.push_back(CString(word));
    return words;
}

CString CWebOpener::RegisteredBrowserCommand() {
    CString id;
    if (CProcess::Capture({"xdg-mime", "query", "default", "x-scheme-handler/http"}, id,
                          LOOKUP_TIMEOUT_MS)) {
        CString file = FindDesktopFile(CString(Trim(id.Str())));
        CString exec = file.IsEmpty() ? CString() : ReadExecLine(file);
        if (!exec.IsEmpty()) return CutBeforePlaceholder(exec);
    }
    const char* browser = getenv("BROWSER");
    if (browser && *browser) {
        std::string first = browser;
        first = first.substr(0, first.find(':'));
        if (!Trim(first).empty()) return CutBeforePlaceholder(CString(first));
    }
    CString fallback = CProcess::FindOnPath("x-www-browser");
    return fallback;
}

BOOL CWebOpener::OpenWithCommand(const CString& commandLine, const CString& address) {
    CString safe;
    if (!MakeSafeAddress(address, safe))
        return RefuseAddress(address);
    std::vector<CString> args = SplitCommandLine(commandLine);
    if (args.empty()) return FALSE;
    args.push_back(safe);
    return CProcess::Start(args) != CProcess::FailedToStart;
}
