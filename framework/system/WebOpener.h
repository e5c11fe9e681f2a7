// The building blocks of opening a web address in the user's browser: the desktop's own opener
// first, then the web browser the desktop has registered. Every program is started with an
// argument vector, so an address can never be read as shell syntax.
#pragma once

#include <string>
#include <vector>

#include "framework/core/String.h"

class CWebOpener {
public:
    // How long the desktop's opener may take to say that it cannot open an address. It fails
    // in tens of milliseconds when no opener is configured; when it works it either returns at
    // once or stays to run the browser, which we do not wait for.
    static const int DESKTOP_OPENER_WAIT_MS = 1000;

    // The address as it may be handed to another program: http, https and mailto addresses
    // as they are; one without a scheme ("www.example.com", "example.com:8080/x") with
    // "https://" in front. FALSE for any other scheme, for an address that begins with '-'
    // (which a program would take for an option) and for control characters. Blanks around
    // the address are dropped.
    static BOOL MakeSafeAddress(const CString& address, CString& safe);
    // MakeSafeAddress that says on stderr why it refused an address.
    static BOOL AcceptAddress(const CString& address, CString& safe);

    // `xdg-open address`. TRUE when it took the address: it started and either ended with
    // status 0 or was still busy when the wait ended. Both openers pass the address through
    // MakeSafeAddress first and refuse it, with a line on stderr, when that does.
    static BOOL OpenWithDesktop(const CString& address, int waitMs = DESKTOP_OPENER_WAIT_MS);

    // The registered web browser's command line, cut before its argument placeholder: the
    // Exec line of `xdg-mime query default x-scheme-handler/http`'s desktop entry; else
    // $BROWSER (its first entry); else Debian's `x-www-browser`. Empty when there is none.
    static CString RegisteredBrowserCommand();

    // Starts a command line (as RegisteredBrowserCommand gives it) with the address as its
    // last argument. TRUE when the program started.
    static BOOL OpenWithCommand(const CString& commandLine, const CString& address);

    // The pieces of the lookup, for tests and for callers with their own order.
    static CString FindDesktopFile(const CString& desktopId);
    // The desktop entry's Exec value, with the entry file's own escapes undone; empty if none.
    static CString ReadExecLine(const CString& desktopFilePath);
    // The command line before its first file or address placeholder (%u %U %f %F; $BROWSER's
    // %s too), the text before it kept as it is.
    static CString CutBeforePlaceholder(const CString& commandLine);
    // Words of a command line by the desktop entry's quoting: blanks separate, double quotes
    // group, a backslash escapes the next character, "%%" is a percent sign.
    static std::vector<CString> SplitCommandLine(const CString& commandLine);
    // The text without the blanks around it.
    static std::string Trimmed(const std::string& s);
};
