// Web addresses on Windows: the shell's open and the registry's browser command both start the
// browser the registry names, with the address as its one argument; an address the viewer
// refuses starts nothing. The "browser" is cmd.exe writing its argument to a file, registered
// for this process only.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "ClassesRootOverride.h"
#include "framework/system/WebOpener.h"
#include "support/TestFixtures.h"

namespace {

// What the browser wrote, without the blanks around it, once it has written (within 20 s);
// empty when it never did.
std::string WaitForText(const std::filesystem::path& path) {
    for (int i = 0; i < 200 && !std::filesystem::exists(path); i++)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::string text;
    for (int i = 0; i < 50 && text.find('\n') == std::string::npos; i++) {
        std::ifstream in(path, std::ios::binary);
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (text.find('\n') == std::string::npos)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return CWebOpener::Trimmed(text);
}

} // namespace

TEST(RegisteredBrowser, TheShellAndTheRegistryCommandStartItWithTheAddress) {
    CScopedTempDir dir;
    CClassesRootOverride classes;
    ASSERT_TRUE(classes.IsActive());
    const std::filesystem::path opened = std::filesystem::path(dir.Path()) / "opened.txt";
    const std::string echo = "\\system32\\cmd.exe /c echo>" + opened.string() + " %1";
    ASSERT_TRUE(classes.SetHttpCommand("%SystemRoot%" + echo));
    const std::string command = "C:\\windows" + echo;
    EXPECT_EQ(CWebOpener::RegisteredBrowserCommand(), CString(command));

    ASSERT_TRUE(CWebOpener::OpenWithDesktop(CString("http://example.com/coins?page=2")));
    EXPECT_EQ(WaitForText(opened), "http://example.com/coins?page=2");
    std::filesystem::remove(opened);

    // The command as the About box's link starts it: cut before its placeholder, the address
    // (given without a scheme here) after it.
    const CString cut(command.substr(0, command.find("%1")));
    ASSERT_TRUE(CWebOpener::OpenWithCommand(cut, CString("www.example.com/dolls")));
    EXPECT_EQ(WaitForText(opened), "https://www.example.com/dolls");
    std::filesystem::remove(opened);

    testing::internal::CaptureStderr();
    EXPECT_FALSE(CWebOpener::OpenWithDesktop(CString("file:///C:/windows/win.ini")));
    EXPECT_FALSE(CWebOpener::OpenWithCommand(cut, CString("-new-window")));
    testing::internal::GetCapturedStderr();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    EXPECT_FALSE(std::filesystem::exists(opened));
}
