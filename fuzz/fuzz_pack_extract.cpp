// slideshow-pack extract on arbitrary bytes, into a fresh folder each time; whatever it
// extracts, build must give a collection of as many items again (or name a picture it
// refuses), and a failed extract leaves nothing behind.
#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "FuzzSupport.h"
#include "tools/pack/CatalogueJson.h"
#include "tools/pack/CollectionPacker.h"
#include "tools/pack/PackCommands.h"
#include "tools/pack/ViewerFileReader.h"

namespace {
void Rebuild(const std::string& file, const std::string& folder) {
    static const std::string viewer = fuzz::WriteFile("viewer", "#!/bin/sh\n", 10);
    const std::string rebuilt = std::string(fuzz::WorkDir()) + "/rebuilt";
    try {
        const PACK_CATALOGUE catalogue = CCatalogueJson::Load(folder + "/catalogue.json");
        CCollectionPacker(catalogue).Pack(viewer, rebuilt, false);
    } catch (const CPackError&) {
        return; // a stored picture that build refuses
    }
    const CViewerFileReader before(file), after(rebuilt);
    if (before.GetItemCount() != after.GetItemCount() || before.GetHeader() != after.GetHeader())
        std::abort();
    std::filesystem::remove(rebuilt);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzz::WriteFile("viewer-file", data, size);
    const std::string folder = std::string(fuzz::WorkDir()) + "/extracted";
    bool bExtracted = false;
    try {
        bExtracted = CPackCommands::Extract(path, folder) == 0;
    } catch (const CPackError&) {
    }
    if (bExtracted)
        Rebuild(path, folder);
    else if (std::filesystem::exists(folder) && !std::filesystem::is_empty(folder))
        std::abort();
    std::filesystem::remove_all(folder);
    return 0;
}
