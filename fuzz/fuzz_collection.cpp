// Opens a collection made of arbitrary bytes and loads all of it as the windows do: whatever
// the bytes hold, reading must end in items or the archive error, never in a crash, a leak, a
// runaway allocation or a temporary file left behind.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::LoadAsTheViewsDo(fuzz::WriteFile("collection", data, size));
    if (fuzz::PictureFilesLeft())
        std::abort();
    return 0;
}
