// The lines that end every build: what went into the file, how large it is, which pictures were
// compressed again or made smaller, and which files were left out and why.
#pragma once

#include <string>

#include "tools/pack/CollectionPacker.h"

class CBuildSummary {
public:
    static std::string Format(const std::string& output, const PACK_SUMMARY& summary);
    // "532 bytes", "14.2 KiB", "3.5 MiB".
    static std::string Size(ULONGLONG nBytes);
};
