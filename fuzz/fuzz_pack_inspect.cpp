// slideshow-pack inspect, in text and in JSON, on arbitrary bytes: a damaged file ends in a
// message naming the damage, never in a crash or a runaway allocation.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "tools/pack/PackCatalogue.h"
#include "tools/pack/PackCommands.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // What inspect prints is of no interest here; libFuzzer reports on stderr.
    static FILE* const quiet = std::freopen("/dev/null", "w", stdout);
    if (!quiet)
        std::abort();
    const std::string path = fuzz::WriteFile("viewer-file", data, size);
    for (bool bJson : {false, true}) {
        try {
            CPackCommands::Inspect(path, bJson);
        } catch (const CPackError&) {
        }
    }
    return 0;
}
