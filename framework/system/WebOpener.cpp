#include "framework/system/WebOpener.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

// A desktop entry's string escapes: \s \n \t \r \\. Other escapes (the Exec quoting's own
// \" \$ ...) stay for the command-line split.
std::string UnescapeEntryValue(const std::string& v) {
    std::string out;
    for (size_t i = 0; i < v.size(); ++i) {
        if (v[i] == '\\' && i + 1 < v.size()) {
            char n = v[i + 1];
            const char* map = n == 's'    ? " "
                              : n == 'n'  ? "\n"
                              : n == 't'  ? "\t"
                              : n == 'r'  ? "\r"
                              : n == '\\' ? "\\"
                                          : nullptr;
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

} // namespace

BOOL CWebOpener::AcceptAddress(const CString& address, CString& safe) {
    if (MakeSafeAddress(address, safe))
        return TRUE;
    fprintf(
        stderr,
        "not opening the web address \"%s\": only http, https and mailto addresses are opened\n",
        address.GetString());
    return FALSE;
}

BOOL CWebOpener::MakeSafeAddress(const CString& address, CString& safe) {
    const std::string a = Trimmed(address.Str());
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

CString CWebOpener::ReadExecLine(const CString& desktopFilePath) {
    std::ifstream in(desktopFilePath.Str());
    std::string line;
    bool inMainGroup = false;
    while (std::getline(in, line)) {
        std::string t = Trimmed(line);
        if (t.empty() || t[0] == '#')
            continue;
        if (t[0] == '[') {
            inMainGroup = t == "[Desktop Entry]";
            continue;
        }
        if (!inMainGroup)
            continue;
        size_t eq = t.find('=');
        if (eq == std::string::npos || Trimmed(t.substr(0, eq)) != "Exec")
            continue;
        return CString(UnescapeEntryValue(Trimmed(t.substr(eq + 1))));
    }
    return CString();
}

CString CWebOpener::CutBeforePlaceholder(const CString& commandLine) {
    const std::string& s = commandLine.Str();
    for (size_t i = 0; i + 1 < s.size(); ++i) {
        if (s[i] != '%')
            continue;
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
            if (inWord)
                words.push_back(CString(word));
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
    if (inWord)
        words.push_back(CString(word));
    return words;
}

std::string CWebOpener::Trimmed(const std::string& s) {
    const size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return std::string();
    const size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}
