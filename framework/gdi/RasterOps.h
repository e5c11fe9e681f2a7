// The raster operations that combine each destination pixel with one other pixel: a source
// pixel for BitBlt, a pattern pixel for PatBlt. One table pairs the two families, so a
// source operation and its pattern twin always combine alike.
#pragma once

#include <cstdint>

#include "framework/gdi/GdiTypes.h"

struct CCopyOp {
    static uint32_t Apply(uint32_t, uint32_t s) { return s; }
};
struct CAndOp {
    static uint32_t Apply(uint32_t d, uint32_t s) { return d & s; }
};
struct COrOp {
    static uint32_t Apply(uint32_t d, uint32_t s) { return d | s; }
};
struct CXorOp {
    static uint32_t Apply(uint32_t d, uint32_t s) { return d ^ s; }
};

enum ROP_OPERAND { ROP_SOURCE, ROP_PATTERN };

// Row i combines as the i-th operation above.
inline constexpr DWORD COMBINING_ROPS[4][2] = {
    {SRCCOPY, PATCOPY},
    {SRCAND, ROP_DEST_AND_PATTERN},
    {SRCPAINT, ROP_DEST_OR_PATTERN},
    {SRCINVERT, PATINVERT},
};

// The table row of `rop` taken as a source or a pattern operation; -1 when it has none.
inline int CombiningRow(DWORD rop, ROP_OPERAND operand) {
    for (int nRow = 0; nRow < 4; ++nRow)
        if (COMBINING_ROPS[nRow][operand] == rop)
            return nRow;
    return -1;
}

// Calls draw(Op{}) with the combining operation of `rop`; false, without calling it, for an
// operation the table does not hold.
template <class DRAW> bool WithCombiningOp(DWORD rop, ROP_OPERAND operand, DRAW&& draw) {
    switch (CombiningRow(rop, operand)) {
    case 0:
        draw(CCopyOp{});
        return true;
    case 1:
        draw(CAndOp{});
        return true;
    case 2:
        draw(COrOp{});
        return true;
    case 3:
        draw(CXorOp{});
        return true;
    }
    return false;
}
