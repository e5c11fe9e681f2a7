// Feeds arbitrary bytes to the partner layout reader: it must never crash or leak, whatever
// the document holds.
#include <cstddef>
#include <cstdint>

#include "branding/PartnerLayout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CPartnerLayout::ReadDocument(reinterpret_cast<const char*>(data), (int)size);
    (void)GetPosition(REGION_LOGO, POS_LEFT);
    CPartnerLayout::Destroy();
    return 0;
}
