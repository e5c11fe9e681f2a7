// Opening web addresses: the desktop's opener first, then the registered browser with the
// address as its one argument, never through a shell.
#include "FakeDesktop.h"
#include "branding/LinkStatic.h"

TEST(OpenWebAddress, DesktopOpenerFirstThenTheRegisteredBrowserWithItsCommandCut) {
    struct Case {
        int openerStatus;
        const char* exec; // the browser's Exec line; @ stands for its path
        const char* log;
    } cases[] = {
        {0, "@ %u", "xdg-open [http://a.example]\n"},
        {4, "@ --new-window %u", "browser [--new-window] [http://a.example]\n"},
        {4, "@ %U --later", "browser [http://a.example]\n"},
        {4, "\"@\" \"%1\"", "browser [http://a.example]\n"},
        {4, "@ -x %1 -y", "browser [-x] [http://a.example]\n"},
        {4, "@ --private", "browser [--private] [http://a.example]\n"},
        {4, "\"@\" \"two words\" %f", "browser [two words] [http://a.example]\n"},
    };
    for (const Case& c : cases) {
        FakeDesktop desktop;
        desktop.AddProgram("xdg-open", c.openerStatus);
        desktop.AddProgram("xdg-mime", 0, "browser.desktop");
        std::string exec = c.exec;
        exec.replace(exec.find('@'), 1, desktop.AddProgram("browser", 0));
        desktop.AddDesktopEntry("browser.desktop", exec);
        EXPECT_GT(CLinkStatic::OpenWebAddress("http://a.example", SW_SHOW), 32) << c.exec;
        std::string expected = "xdg-open [http://a.example]\n";
        if (c.openerStatus != 0)
            expected += "xdg-mime [query] [default] [x-scheme-handler/http]\n" + std::string(c.log);
        EXPECT_EQ(desktop.Log(c.openerStatus ? 3 : 1), expected) << c.exec;
    }
}

TEST(OpenWebAddress, BrowserVariableAndFailures) {
    FakeDesktop desktop; // neither xdg-open nor xdg-mime
    EXPECT_LE(CLinkStatic::OpenWebAddress("http://a.example", SW_SHOW), 32);
    setenv("BROWSER", (desktop.Dir() + "/missing").c_str(), 1);
    EXPECT_LE(CLinkStatic::OpenWebAddress("http://a.example", SW_SHOW), 32);
    setenv("BROWSER", (desktop.AddProgram("browser", 0) + " %s:other").c_str(), 1);
    EXPECT_GT(CLinkStatic::OpenWebAddress("http://a.example", SW_SHOW), 32);
    EXPECT_EQ(desktop.Log(1), "browser [http://a.example]\n");
}

TEST(OpenWebAddress, AddressIsOneWordThatNoShellReads) {
    FakeDesktop desktop;
    desktop.AddProgram("xdg-open", 4);
    setenv("BROWSER", desktop.AddProgram("browser", 0).c_str(), 1);
    const std::string marker = desktop.Dir() + "/pwned";
    const std::string address = "http://x/?a&b=$(touch " + marker + ");`touch " + marker + "` *";
    EXPECT_GT(CLinkStatic::OpenWebAddress(address.c_str(), SW_SHOW), 32);
    EXPECT_EQ(desktop.Log(2), "xdg-open [" + address + "]\nbrowser [" + address + "]\n");
    EXPECT_NE(access(marker.c_str(), F_OK), 0);
}
