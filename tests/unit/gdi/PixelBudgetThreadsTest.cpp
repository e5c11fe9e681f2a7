#include <gtest/gtest.h>

#include <atomic>

#include "framework/gdi/PixelMemory.h"
#include "framework/system/ParallelJobs.h"

// Decodes charge the budget from several threads at once: no charge may be lost, and two
// threads may never both take its last bytes.
TEST(PixelBudget, ChargesFromManyThreadsAtOnceNeverPassTheLimitNorGetLost) {
    const uint64_t limit = CPixelBudget::GetLimit(), used = CPixelBudget::GetUsed();
    const uint64_t block = 1000;
    CPixelBudget::SetLimit(used + 5 * block);
    std::atomic<int> held{0}, most{0};
    AfxRunParallel(
        8,
        [&](int) {
            for (int n = 0; n < 20000; n++) {
                if (!CPixelBudget::Reserve(block))
                    continue;
                const int now = ++held;
                int seen = most.load();
                while (now > seen && !most.compare_exchange_weak(seen, now)) {
                }
                --held;
                CPixelBudget::Release(block);
            }
        },
        8);
    EXPECT_LE(most.load(), 5);
    EXPECT_GE(most.load(), 1);
    EXPECT_EQ(used, CPixelBudget::GetUsed());
    CPixelBudget::SetLimit(limit);
}
