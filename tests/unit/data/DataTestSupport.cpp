#include "DataTestSupport.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

std::vector<BYTE> ReadFileBytes(const std::string& path) {
    std::vector<BYTE> bytes;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        throw std::runtime_error("cannot read " + path);
    BYTE chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + n);
    std::fclose(f);
    return bytes;
}

void WriteFileBytes(const std::string& path, const std::vector<BYTE>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        throw std::runtime_error("cannot write " + path);
    if (!bytes.empty())
        std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

ITEM_RECORD MakeItem(const std::string& tag) {
    ITEM_RECORD item;
    int i = 0;
    for (const ITEM_TEXT_FIELD& field : ITEM_TEXT_FIELDS)
        item.*field.pText = CString(tag + " " + std::to_string(i++));
    return item;
}

std::string WriteCollection(const CCollectionWriter& writer, const CScopedTempDir& dir,
                            const std::string& name) {
    const std::string path = dir.Path() + "/" + name;
    if (!writer.WriteFile(CString(path)))
        throw std::runtime_error("cannot write " + path);
    return path;
}
