// Rewrites a stored JPEG, without loss, with a restart marker at the start of every MCU row:
// the viewer can then decode one picture's rows in stripes on several cores.
#pragma once

#include <vector>

#include "framework/core/WinTypes.h"

class CRowRestarts {
public:
    // The picture with a restart interval of one MCU row and optimized Huffman tables (which
    // also make it smaller), its application and comment segments carried as a re-encode
    // carries them. A picture that is progressive, arithmetic-coded, already has a restart
    // interval, or that the library reads only with warnings or errors is returned as it is.
    static std::vector<BYTE> Add(const std::vector<BYTE>& jpeg);
};
