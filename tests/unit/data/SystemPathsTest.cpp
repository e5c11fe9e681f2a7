#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "DataTestSupport.h"
#include "framework/system/File.h"
#include "framework/system/ModulePath.h"
#include "framework/system/TempFile.h"

TEST(ModulePath, TheRunningExecutableWhateverArgvZeroNames) {
    CScopedTempDir dir;
    // A file of the program's name in the current folder: started through PATH with a bare
    // argv[0], the program must not open it.
    const std::string file = dir.Path() + "/viewer";
    WriteFileBytes(file, {1, 2, 3});
    char cwd[4096] = {};
    ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
    ASSERT_EQ(::chdir(dir.Path().c_str()), 0);
    struct stat exe;
    ASSERT_EQ(::stat("/proc/self/exe", &exe), 0);
    for (const std::string& argv0 : {std::string("viewer"), file, std::string(""), dir.Path()}) {
        char* argv[] = {const_cast<char*>(argv0.c_str()), nullptr};
        AfxSetArgv(1, argv);
        EXPECT_EQ(AfxGetArgv0(), argv0.c_str());
        struct stat opened;
        ASSERT_EQ(::stat(AfxGetModulePath(), &opened), 0) << argv0;
        EXPECT_TRUE(opened.st_dev == exe.st_dev && opened.st_ino == exe.st_ino)
            << argv0 << " opened " << AfxGetModulePath().GetString();
    }
    // A program that opens a collection on its own behalf names it.
    AfxSetModulePath(file.c_str());
    EXPECT_EQ(AfxGetModulePath(), file.c_str());
    AfxSetModulePath("");
    AfxSetArgv(0, nullptr);
    ASSERT_EQ(::chdir(cwd), 0);
}

TEST(TempFile, PrivateUniqueFilesInTheTemporaryDirectory) {
    CScopedTempDir dir;
    char path[MAX_PATH], first[MAX_PATH], second[MAX_PATH];
    ASSERT_EQ(GetTempPathA(MAX_PATH, path), dir.Path().size() + 1);
    EXPECT_EQ(std::string(path), dir.Path() + "/");
    EXPECT_EQ(GetTempPathA(3, path), 0u);
    ASSERT_EQ(GetTempPathA(MAX_PATH, path), dir.Path().size() + 1);

    ASSERT_NE(GetTempFileNameA(path, "emExtra", 0, first), 0u);
    ASSERT_NE(GetTempFileNameA(path, "emE", 0, second), 0u);
    EXPECT_STRNE(first, second);
    EXPECT_EQ(dir.Files("emE").size(), 2u);
    // Only three characters of the prefix: the random part could itself begin with "x".
    EXPECT_EQ(dir.Files("emExtra").size(), 0u);
    struct stat st;
    ASSERT_EQ(::stat(first, &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(st.st_size, 0);

    EXPECT_EQ(GetTempFileNameA((dir.Path() + "/missing/").c_str(), "emE", 0, first), 0u);
    // A $TMPDIR that is missing or not a directory gives way to /tmp.
    for (const std::string& unusable : {dir.Path() + "/missing", std::string(first)}) {
        ::setenv("TMPDIR", unusable.c_str(), 1);
        EXPECT_EQ(GetTempPathA(MAX_PATH, path), 5u) << unusable;
        EXPECT_STREQ(path, "/tmp/") << unusable;
    }
}

TEST(TempFile, EveryFileIsRememberedUntilRemovedAndCanBeRemovedAtOnce) {
    CScopedTempDir dir;
    char path[MAX_PATH], first[MAX_PATH], second[MAX_PATH];
    ASSERT_NE(GetTempPathA(MAX_PATH, path), 0u);
    const int before = AfxGetTempFileCount();
    ASSERT_NE(GetTempFileNameA(path, "emE", 0, first), 0u);
    ASSERT_NE(GetTempFileNameA(path, "emE", 0, second), 0u);
    EXPECT_EQ(AfxGetTempFileCount(), before + 2);
    CFile::Remove(first);
    EXPECT_EQ(AfxGetTempFileCount(), before + 1);
    EXPECT_EQ(dir.Files().size(), 1u);
    // More files than one block of remembered paths holds.
    for (int i = 0; i < 70; i++)
        ASSERT_NE(GetTempFileNameA(path, "emE", 0, first), 0u);
    EXPECT_EQ(AfxGetTempFileCount(), before + 71);
    AfxRemoveTempFiles();
    EXPECT_EQ(AfxGetTempFileCount(), 0);
    EXPECT_TRUE(dir.Files().empty());
    EXPECT_EQ(::access(second, F_OK), -1);
}
