#include "framework/system/WebOpener.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "system_test_support.h"

namespace {

TEST(WebOpener, CutsTheCommandBeforeItsPlaceholder) {
    struct Case {
        const char* line;
        const char* cut;
    } cases[] = {
        {"firefox %u", "firefox "},
        {"\"/opt/my browser/run\" \"%U\"", "\"/opt/my browser/run\" "},
        {"chromium --new-window %U --flag", "chromium --new-window "},
        {"viewer %f", "viewer "},
        {"viewer %F", "viewer "},
        {"w3m %s", "w3m "},
        {"browser", "browser"},
        {"browser --rate=50%% %u", "browser --rate=50%% "},
        {"browser %i %u", "browser %i "},
        {"%u", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CWebOpener::CutBeforePlaceholder(c.line), c.cut) << c.line;
}

TEST(WebOpener, SplitsCommandLinesByDesktopQuoting) {
    struct Case {
        const char* line;
        std::vector<CString> words;
    } cases[] = {
        {"firefox ", {"firefox"}},
        {"  a\tb  c ", {"a", "b", "c"}},
        {"\"/opt/my browser/run\" --x", {"/opt/my browser/run", "--x"}},
        {"say \"a \\\"b\\\" c\"", {"say", "a \"b\" c"}},
        {"rate=50%%", {"rate=50%"}},
        {"\"\"", {""}},
        {"", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CWebOpener::SplitCommandLine(c.line), c.words) << c.line;
}

TEST(WebOpener, FindsTheDesktopEntryAndReadsItsExecLine) {
    ScratchFolder home, system;
    std::string apps = system.Path() + "/applications";
    mkdir(apps.c_str(), 0755);
    mkdir((apps + "/vendor").c_str(), 0755);
    system.Write("applications/web.desktop",
                 "[Desktop Entry]\nName=Web\nTryExec=nothing\nExec[de]=wrong\nExec = "
                 "\"/opt/web\\\\s\" --a %u\n"
                 "[Desktop Action new]\nExec=wrong --new %u\n");
    system.Write("applications/vendor/browser.desktop",
                 "[Other]\nExec=wrong\n[Desktop Entry]\nExec=vb %U\n");
    system.Write("applications/noexec.desktop", "[Desktop Entry]\nName=x\n");
    ScopedEnv dataHome("XDG_DATA_HOME", home.Path());
    ScopedEnv dataDirs("XDG_DATA_DIRS", system.Path());

    CString web = CWebOpener::FindDesktopFile("web.desktop");
    EXPECT_EQ(web, CString((apps + "/web.desktop").c_str()));
    EXPECT_EQ(CWebOpener::ReadExecLine(web), "\"/opt/web\\s\" --a %u");
    CString vendor = CWebOpener::FindDesktopFile("vendor-browser.desktop");
    EXPECT_EQ(CWebOpener::ReadExecLine(vendor), "vb %U");
    EXPECT_TRUE(CWebOpener::ReadExecLine(CWebOpener::FindDesktopFile("noexec.desktop")).IsEmpty());
    for (const char* bad : {"missing.desktop", "../applications/web.desktop", "", ".."})
        EXPECT_TRUE(CWebOpener::FindDesktopFile(bad).IsEmpty()) << bad;
}

TEST(WebOpener, LooksUpTheRegisteredBrowserInOrder) {
    ScratchFolder bin, data;
    mkdir((data.Path() + "/applications").c_str(), 0755);
    data.Write("applications/fancy.desktop",
               "[Desktop Entry]\nExec=\"/opt/fancy browser\" --new-tab \"%u\"\n");
    ScopedEnv path("PATH", bin.Path() + ":/usr/bin:/bin");
    ScopedEnv dataHome("XDG_DATA_HOME", data.Path());
    ScopedEnv browser("BROWSER", "lynx:w3m");

    // Without xdg-mime (and without Debian's alternative in this PATH) $BROWSER's first entry.
    EXPECT_EQ(CWebOpener::RegisteredBrowserCommand(), "lynx");

    bin.Write(
        "xdg-mime",
        "#!/bin/sh\n[ \"$*\" = 'query default x-scheme-handler/http' ] && echo fancy.desktop\n",
        true);
    EXPECT_EQ(CWebOpener::RegisteredBrowserCommand(), "\"/opt/fancy browser\" --new-tab ");

    bin.Write("xdg-mime", "#!/bin/sh\necho gone.desktop\n", true);
    EXPECT_EQ(CWebOpener::RegisteredBrowserCommand(), "lynx");
}

TEST(WebOpener, DesktopOpenerSucceedsUnlessItReportsFailure) {
    ScratchFolder bin;
    ScopedEnv path("PATH", bin.Path() + ":/usr/bin:/bin");
    EXPECT_FALSE(CWebOpener::OpenWithDesktop("http://example.org/")); // no xdg-open at all

    ScopedEnv out("OUT", bin.Path() + "/out");
    bin.Write("xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" > \"$OUT\"\n", true);
    EXPECT_TRUE(CWebOpener::OpenWithDesktop("http://example.org/?q=a b"));
    EXPECT_EQ(bin.Read("out"), "http://example.org/?q=a b");

    bin.Write("xdg-open", "#!/bin/sh\nexit 3\n", true);
    EXPECT_FALSE(CWebOpener::OpenWithDesktop("http://example.org/"));

    // An opener that stays to run the browser counts as having taken the address.
    bin.Write("xdg-open", "#!/bin/sh\nsleep 3\n", true);
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_TRUE(CWebOpener::OpenWithDesktop("http://example.org/", 200));
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(2000));
}

TEST(WebOpener, OnlyWebAndMailAddressesAreHandedOnAndABareHostGetsHttps) {
    struct Case {
        const char* address;
        const char* safe; // null: refused
    } cases[] = {
        {"http://example.org/a?b=c", "http://example.org/a?b=c"},
        {"HTTPS://example.org/", "HTTPS://example.org/"},
        {"mailto:someone@example.org", "mailto:someone@example.org"},
        {"www.emeraldsoft.com", "https://www.emeraldsoft.com"},
        {"  www.example.org/path  ", "https://www.example.org/path"},
        {"example.org:8080/x", "https://example.org:8080/x"},
        {"//example.org/", "https://example.org/"},
        {"-e", nullptr},
        {"--help", nullptr},
        {" -x http://example.org/", nullptr},
        {"file:///etc/passwd", nullptr},
        {"javascript:alert(1)", nullptr},
        {"ftp://example.org/", nullptr},
        {"http://example.org/\nx", nullptr},
        {"", nullptr},
    };
    for (const Case& c : cases) {
        CString safe("unchanged");
        EXPECT_EQ(CWebOpener::MakeSafeAddress(c.address, safe), c.safe != nullptr) << c.address;
        if (c.safe) {
            EXPECT_EQ(safe, c.safe) << c.address;
        }
    }
}

TEST(WebOpener, NeitherOpenerEverSeesARefusedAddress) {
    ScratchFolder bin;
    ScopedEnv path("PATH", bin.Path() + ":/usr/bin:/bin");
    ScopedEnv out("OUT", bin.Path() + "/out");
    const std::string record =
        "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]' \"$a\"; done >> \"$OUT\"\n";
    bin.Write("xdg-open", record, true);
    std::string browser = bin.Write("browser", record, true);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(CWebOpener::OpenWithDesktop("--version"));
    EXPECT_FALSE(CWebOpener::OpenWithCommand(CString(browser.c_str()), "-new-instance"));
    const std::string text = testing::internal::GetCapturedStderr();
    EXPECT_NE(text.find("not opening the web address \"--version\""), std::string::npos) << text;
    EXPECT_EQ(bin.Read("out"), "");
    // The maker's address, which has no scheme, reaches xdg-open as a web address.
    EXPECT_TRUE(CWebOpener::OpenWithDesktop("www.example.org"));
    EXPECT_EQ(bin.Read("out"), "[https://www.example.org]");
}

TEST(WebOpener, StartsTheBrowserCommandWithTheAddressAsOneArgument) {
    ScratchFolder bin;
    std::string browser =
        bin.Write("my browser",
                  "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]' \"$a\"; done > \"$OUT\"\n", true);
    ScopedEnv out("OUT", bin.Path() + "/out");
    CString command = CString(("\"" + browser + "\" --new-tab ").c_str());
    ASSERT_TRUE(CWebOpener::OpenWithCommand(command, "http://x/;touch y $(id)"));
    for (int i = 0; i < 200 && bin.Read("out").empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(bin.Read("out"), "[--new-tab][http://x/;touch y $(id)]");
    EXPECT_FALSE(CWebOpener::OpenWithCommand("", "http://x/"));
    EXPECT_FALSE(CWebOpener::OpenWithCommand("no-such-browser-here", "http://x/"));
}

} // namespace
