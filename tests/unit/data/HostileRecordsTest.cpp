// Records whose counts the bytes do not bear out, and records larger than memory, loaded in a
// child process under an address-space limit (ulimit -v): Linux only.
#include <gtest/gtest.h>

#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "DataTestSupport.h"
#include "tools/writer/StreamWriter.h"

namespace {

bool UnderSanitizer() {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer)
    return true;
#endif
#endif
    return false;
}

enum LOAD_RESULT { LOAD_DAMAGED = 10, LOAD_OUT_OF_MEMORY = 11, LOAD_LOADED = 12, LOAD_OTHER = 13 };

// Loads item 0 in a child process that may map only `nHeadroom` bytes more than it has.
// Set before any thread starts. Otherwise a large block that fails under the limit is retried
// in the arena of a thread an earlier test ran, whose address space is already reserved, and
// freed heap space from earlier tests could hold it too: the limit would never be met.
const bool g_bOneArenaAndFreshMappings =
    ::mallopt(M_ARENA_MAX, 1) == 1 && ::mallopt(M_MMAP_THRESHOLD, 128 * 1024) == 1;

int LoadUnderAddressLimit(const std::string& path, size_t nHeadroom) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::ifstream statm("/proc/self/statm");
        size_t pages = 0;
        statm >> pages;
        rlimit limit;
        limit.rlim_cur = limit.rlim_max = pages * (size_t)::sysconf(_SC_PAGE_SIZE) + nHeadroom;
        ::setrlimit(RLIMIT_AS, &limit);
        int result = LOAD_OTHER;
        try {
            CCollectionFile file;
            file.Open(path.c_str());
            delete file.LoadItem(0);
            result = LOAD_LOADED;
        } catch (const CArchiveException&) {
            result = LOAD_DAMAGED;
        } catch (const CMemoryException&) {
            result = LOAD_OUT_OF_MEMORY;
        } catch (...) {
        }
        ::_exit(result);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

} // namespace

TEST(HostileRecords, AStringCountTheBytesDoNotBearOutCostsOnlyWhatIsRead) {
    if (UnderSanitizer())
        GTEST_SKIP() << "address-space limits do not work under sanitizers";
    CScopedTempDir dir;
    // Eight empty texts, then a name count of 16 M: two names and a third whose length passes
    // the end of the file, and 16 MB of bytes that are never reached.
    CStreamWriter record;
    for (int i = 0; i < 8; i++)
        record.WriteString("");
    record.WriteCount(16u << 20);
    record.WriteString("first");
    record.WriteString("second");
    record.WriteLengthPrefix(0x7FFFFFF0, PREFIX_DWORD);
    record.WriteBytes(std::vector<BYTE>(16u << 20, 0));
    CCollectionWriter writer;
    writer.AddRecordBytes(record.GetBytes());
    // 16 M entries made before reading would take 512 MB.
    EXPECT_EQ(LoadUnderAddressLimit(WriteCollection(writer, dir), 128u << 20), LOAD_DAMAGED);
}

TEST(HostileRecords, ARecordLargerThanMemoryEndsItsLoadNotTheProgram) {
    if (UnderSanitizer())
        GTEST_SKIP() << "address-space limits do not work under sanitizers";
    CScopedTempDir dir;
    ITEM_RECORD item = MakeItem("big");
    item.m_strComments = CString(std::string(24u << 20, 'x'));
    CCollectionWriter writer;
    writer.AddItem(item);
    const std::string path = WriteCollection(writer, dir);
    testing::internal::CaptureStderr();
    const int result = LoadUnderAddressLimit(path, 8u << 20);
    const std::string text = testing::internal::GetCapturedStderr();
    EXPECT_EQ(result, LOAD_OUT_OF_MEMORY);
    EXPECT_NE(text.find("item 1 needs more memory than the program can have"), std::string::npos)
        << text;
    EXPECT_EQ(LoadUnderAddressLimit(path, 512u << 20), LOAD_LOADED);
}
