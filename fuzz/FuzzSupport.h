// What the collection targets share: a private folder for their files (also $TMPDIR, so that
// the pictures' temporary files can be counted) and loading a collection the way the viewer's
// windows do.
#pragma once

#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "data/CollectionFile.h"

namespace fuzz {

// Pictures may take this many bytes of pixels each: small enough for quick inputs, large
// enough that a page of eight copies of one of them stands out in the RSS.
const ULONGLONG MAX_PICTURE_BYTES = 16u << 20;
// The items a thumbnails page holds at once.
const int PAGE_ITEMS = 8;

inline char* WorkDirName() {
    static char name[] = "/tmp/fuzz-slideshow-XXXXXX";
    return name;
}

inline void RemoveWorkDir() {
    const std::string command = std::string("rm -rf '") + WorkDirName() + "'";
    if (std::system(command.c_str()) != 0)
        std::fprintf(stderr, "cannot remove %s\n", WorkDirName());
}

inline const char* WorkDir() {
    static const bool bMade = [] {
        if (!::mkdtemp(WorkDirName()))
            std::abort();
        ::setenv("TMPDIR", WorkDirName(), 1);
        CItemPicture::SetMaxPixelBytes(MAX_PICTURE_BYTES);
        std::atexit(RemoveWorkDir);
        return true;
    }();
    return bMade ? WorkDirName() : nullptr;
}

// `name` in the work folder holding the bytes.
inline std::string WriteFile(const char* name, const void* data, size_t size) {
    const std::string path = std::string(WorkDir()) + "/" + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        std::abort();
    if (size)
        std::fwrite(data, 1, size, f);
    std::fclose(f);
    return path;
}

// Every picture's temporary file goes with its item.
inline bool PictureFilesLeft() {
    DIR* dir = ::opendir(WorkDir());
    if (!dir)
        std::abort();
    bool bLeft = false;
    while (const dirent* entry = ::readdir(dir))
        bLeft = bLeft || std::strncmp(entry->d_name, "emE", 3) == 0;
    ::closedir(dir);
    return bLeft;
}

// One item as a window uses it: details, picture size, placeholder copy. Null for an item that
// could not be read, as the windows do.
inline std::unique_ptr<CCollectionItem> LoadItem(CCollectionFile& file, int index) {
    std::unique_ptr<CCollectionItem> item;
    try {
        item.reset(file.LoadItem(index));
    } catch (const CArchiveException&) {
        return nullptr;
    } catch (const CFileException&) {
        return nullptr;
    }
    if (!item)
        return nullptr;
    CString name, value;
    for (int d = 0; d < item->GetDetailCount(); d++)
        item->GetDetail(d, name, value);
    if (CItemPicture* picture = item->GetPicture()) {
        BITMAP bm{};
        picture->GetBitmap(&bm);
    }
    CImageList copy;
    item->CopyImageList(&copy);
    return item;
}

// Opens the collection and loads all of it as the windows would: every name for the list,
// item 0 for the Comments page for the whole run, and every page of eight held at once (the
// Image and Details views hold one item at a time, less than a page).
inline void LoadAsTheViewsDo(const std::string& path) {
    CCollectionFile file;
    try {
        if (!file.Open(path.c_str()))
            return;
    } catch (const CArchiveException&) {
        return;
    }
    for (int i = 0; i < file.GetItemCount(); i++) {
        CString name;
        try {
            file.LoadItemName(i, name);
        } catch (const CArchiveException&) {
        }
    }
    const std::unique_ptr<CCollectionItem> comments = LoadItem(file, 0);
    for (int first = 0; first < file.GetItemCount(); first += PAGE_ITEMS) {
        std::vector<std::unique_ptr<CCollectionItem>> page;
        for (int i = first; i < file.GetItemCount() && i < first + PAGE_ITEMS; i++)
            page.push_back(LoadItem(file, i));
    }
}

} // namespace fuzz
