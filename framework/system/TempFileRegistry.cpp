#include "framework/system/TempFileRegistry.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <exception>

#include "framework/system/TempFile.h"

// The remembered paths, readable from a signal handler: fixed slots in blocks that are
// chained and never freed, each slot claimed and released with one atomic state.
enum { SLOT_FREE = 0, SLOT_CLAIMED = 1, SLOT_LIVE = 2 };
struct TEMP_FILE_SLOT {
    std::atomic<int> state;
    char path[MAX_PATH];
};

namespace {

struct TEMP_BLOCK {
    TEMP_FILE_SLOT slots[32];
    std::atomic<TEMP_BLOCK*> pNext;
};
TEMP_BLOCK g_firstBlock;

} // namespace

TEMP_FILE_SLOT* AfxClaimTempFileSlot() {
    for (TEMP_BLOCK* pBlock = &g_firstBlock;; pBlock = pBlock->pNext.load()) {
        for (TEMP_FILE_SLOT& slot : pBlock->slots) {
            int expected = SLOT_FREE;
            if (slot.state.compare_exchange_strong(expected, SLOT_CLAIMED))
                return &slot;
        }
        if (!pBlock->pNext.load()) {
            TEMP_BLOCK* pNew = new TEMP_BLOCK();
            TEMP_BLOCK* pNone = nullptr;
            if (!pBlock->pNext.compare_exchange_strong(pNone, pNew))
                delete pNew;
        }
    }
}

void AfxCommitTempFileSlot(TEMP_FILE_SLOT* pSlot, LPCSTR path) {
    std::strncpy(pSlot->path, path, MAX_PATH - 1);
    pSlot->path[MAX_PATH - 1] = '\0';
    pSlot->state.store(SLOT_LIVE);
}

void AfxAbandonTempFileSlot(TEMP_FILE_SLOT* pSlot) {
    pSlot->state.store(SLOT_FREE);
}

void AfxRemoveTempFiles() {
    for (TEMP_BLOCK* pBlock = &g_firstBlock; pBlock; pBlock = pBlock->pNext.load()) {
        for (TEMP_FILE_SLOT& slot : pBlock->slots) {
            int expected = SLOT_LIVE;
            if (slot.state.compare_exchange_strong(expected, SLOT_CLAIMED)) {
                AfxDeleteTempFileNow(slot.path);
                slot.state.store(SLOT_FREE);
            }
        }
    }
}

void AfxForgetTempFile(LPCSTR path) {
    if (!path)
        return;
    for (TEMP_BLOCK* pBlock = &g_firstBlock; pBlock; pBlock = pBlock->pNext.load()) {
        for (TEMP_FILE_SLOT& slot : pBlock->slots) {
            if (slot.state.load() == SLOT_LIVE && std::strcmp(slot.path, path) == 0) {
                slot.state.store(SLOT_FREE);
                return;
            }
        }
    }
}

int AfxGetTempFileCount() {
    int n = 0;
    for (TEMP_BLOCK* pBlock = &g_firstBlock; pBlock; pBlock = pBlock->pNext.load())
        for (TEMP_FILE_SLOT& slot : pBlock->slots)
            n += slot.state.load() == SLOT_LIVE ? 1 : 0;
    return n;
}

namespace {

std::terminate_handler g_previousTerminate = nullptr;

[[noreturn]] void OnTerminate() {
    AfxRemoveTempFiles();
    if (g_previousTerminate)
        g_previousTerminate();
    std::abort();
}

} // namespace

void AfxRemoveTempFilesAtExit() {
    static bool s_bOnce = false;
    if (s_bOnce)
        return;
    s_bOnce = true;
    std::atexit(AfxRemoveTempFiles);
    g_previousTerminate = std::set_terminate(OnTerminate);
}
