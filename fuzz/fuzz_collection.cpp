// Opens a collection made of arbitrary bytes and loads every item, with its picture and image
// list: whatever the bytes hold, reading must end in items or the archive error, never in a
// crash, a leak, a runaway allocation or a temporary file left behind.
#include <dirent.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "data/CollectionFile.h"

namespace {

char g_workDir[] = "/tmp/fuzz-collection-XXXXXX";

void RemoveWorkDir() {
    ::unlink((std::string(g_workDir) + "/collection").c_str());
    ::rmdir(g_workDir);
}

// A private directory for the collection file and, as $TMPDIR, for the pictures' files.
const char* WorkDir() {
    static const bool bMade = [] {
        if (!::mkdtemp(g_workDir)) std::abort();
        ::setenv("TMPDIR", g_workDir, 1);
        // Small pictures only: each input must decode quickly.
        CItemPicture::SetMaxPixelBytes(16u << 20);
        std::atexit(RemoveWorkDir);
        return true;
    }();
    return bMade ? g_workDir : nullptr;
}

// Every picture's file goes with its item.
bool PictureFilesLeft() {
    DIR* dir = ::opendir(WorkDir());
    if (!dir) std::abort();
    bool bLeft = false;
    while (const dirent* entry = ::readdir(dir)) bLeft = bLeft || std::strncmp(entry->d_name, "emE", 3) == 0;
    ::closedir(dir);
    return bLeft;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = std::string(WorkDir()) + "/collection";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);

    CCollectionFile file;
    try {
        if (!file.Open(path.c_str())) return 0;
    } catch (const CArchiveException&) {
        return 0;
    }
    for (int i = 0; i < file.GetItemCount(); i++) {
        try {
            CString name;
            file.LoadItemName(i, name);
            std::unique_ptr<CCollectionItem> item(file.LoadItem(i));
            CString detailName, detailValue;
            for (int d = 0; d < item->GetDetailCount(); d++) item->GetDetail(d, detailName, detailValue);
            CImageList copy;
            item->CopyImageList(&copy);
        } catch (const CArchiveException&) {
        } catch (const CFileException&) {
        }
    }
    if (PictureFilesLeft()) std::abort();
    return 0;
}
