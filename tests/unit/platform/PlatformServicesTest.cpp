// The platform services as every platform must give them, run on Linux and under Wine alike:
// temporary files in the folder the platform's variable names, with the program's prefix, gone
// with CFile::Remove or at the end; files read back as written; the program's own path.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "framework/system/File.h"
#include "framework/system/ModulePath.h"
#include "framework/system/TempFile.h"
#include "support/TestFixtures.h"

namespace {

std::string MakeTempFile() {
    char folder[MAX_PATH], path[MAX_PATH];
    if (GetTempPath(MAX_PATH, folder) == 0 || GetTempFileName(folder, "emExtra", 0, path) == 0)
        return std::string();
    return path;
}

} // namespace

TEST(PlatformServices, TempFilesAreMadeInTheChosenFolderWithThePrefix) {
    CScopedTempDir dir;
    char folder[MAX_PATH];
    const DWORD n = GetTempPath(MAX_PATH, folder);
    ASSERT_GT(n, 0u);
    EXPECT_EQ(GetTempPath(n, folder), 0u); // no room for the terminator

    const int before = AfxGetTempFileCount();
    const std::string first = MakeTempFile(), second = MakeTempFile();
    ASSERT_FALSE(first.empty());
    EXPECT_NE(first, second);
    EXPECT_EQ(dir.Files("emE").size(), 2u);     // in the folder the variable chose
    EXPECT_EQ(dir.Files("emExtra").size(), 0u); // three characters of the prefix only
    EXPECT_EQ(AfxGetTempFileCount(), before + 2);

    CFile::Remove(first.c_str());
    EXPECT_EQ(dir.Files("emE").size(), 1u);
    EXPECT_EQ(AfxGetTempFileCount(), before + 1);
    AfxRemoveTempFiles();
    EXPECT_TRUE(dir.Files("emE").empty());
    EXPECT_EQ(AfxGetTempFileCount(), 0);

    char path[MAX_PATH];
    EXPECT_EQ(GetTempFileName(folder, "emE", 7, path), 0u);
}

TEST(PlatformServices, FilesReadBackWhatWasWrittenAtTheirPositions) {
    CScopedTempDir dir;
    const std::string path = MakeTempFile();
    ASSERT_FALSE(path.empty());
    {
        CFile file;
        ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeReadWrite));
        file.Write("abcdef", 6);
        ASSERT_EQ(file.Seek(2, CFile::begin), 2u);
        file.Write("XY", 2);
        EXPECT_EQ(file.GetLength(), 6u);
    }
    CFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead));
    char text[8] = {};
    ASSERT_EQ(file.Seek(-5, CFile::end), 1u);
    EXPECT_EQ(file.Read(text, 8), 5u); // fewer at the end
    EXPECT_STREQ(text, "bXYef");
    file.Close();
    CFile::Remove(path.c_str());
    EXPECT_THROW(CFile::Remove(path.c_str()), CFileException);
    CFile missing;
    EXPECT_FALSE(missing.Open(path.c_str(), CFile::modeRead));
}

TEST(PlatformServices, TheModulePathNamesThisTestProgram) {
    const std::filesystem::path self(AfxGetModulePath().GetString());
    EXPECT_TRUE(std::filesystem::is_regular_file(self));
    EXPECT_EQ(self.stem().string(), "unit_platform");
}
