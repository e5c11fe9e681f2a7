// The marker segments at the head of a JPEG file (everything before the first scan): the EXIF
// orientation that cameras write, and the segments that go with the picture when it is turned.
#pragma once

#include <string>
#include <vector>

#include "framework/core/WinTypes.h"

// EXIF orientation: how the stored pixels must be turned to show the picture upright.
enum EXIF_ORIENTATION_VALUE {
    EXIF_UPRIGHT = 1,
    EXIF_MIRRORED = 2,
    EXIF_UPSIDE_DOWN = 3,
    EXIF_FLIPPED = 4, // upside down and mirrored: a vertical flip
    EXIF_TRANSPOSED = 5,
    EXIF_TURNED_RIGHT = 6, // shown after turning a quarter clockwise
    EXIF_TRANSVERSED = 7,
    EXIF_TURNED_LEFT = 8,
};

struct EXIF_ORIENTATION {
    int nValue = EXIF_UPRIGHT;
    std::string damage; // why the EXIF block could not be read; the value is then upright
};

class CJpegMarkers {
public:
    // The orientation from the first EXIF block; upright when there is none.
    static EXIF_ORIENTATION ReadOrientation(const BYTE* data, size_t n);
    // When the picture was taken, "YYYY:MM:DD HH:MM:SS" as EXIF writes it (the original date,
    // else the file's date in the first directory); empty when the block has neither.
    static std::string ReadDateTaken(const BYTE* data, size_t n);
    // The JPEG without its EXIF blocks; every other byte is kept.
    static std::vector<BYTE> WithoutExif(const std::vector<BYTE>& jpeg);
    // The JPEG with one EXIF block that holds only the orientation (any other EXIF block goes).
    static std::vector<BYTE> WithOrientation(const std::vector<BYTE>& jpeg, int nOrientation);
    // The segments a re-encoded picture keeps (colour profile, XMP, comments, other
    // application data): all but the ones an encoder writes itself and the EXIF block.
    static std::vector<BYTE> CarriedSegments(const BYTE* data, size_t n);
    // Inserts whole segments after the start marker and the JFIF segment, if any.
    static std::vector<BYTE> InsertSegments(const std::vector<BYTE>& jpeg,
                                            const std::vector<BYTE>& segments);
};
