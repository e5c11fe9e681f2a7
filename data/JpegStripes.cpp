#include "data/JpegStripes.h"

#include <algorithm>
#include <cstring>

namespace {

const BYTE MARKER = 0xFF;
const BYTE SOI = 0xD8, EOI = 0xD9, SOS = 0xDA, SOF0 = 0xC0, SOF1 = 0xC1, DHT = 0xC4;
const BYTE RST0 = 0xD0, RST7 = 0xD7;

int ReadWord(const BYTE* p) {
    return p[0] << 8 | p[1];
}

// Where the headers end and what they say; FALSE unless they are a plain sequential frame.
struct HEADERS {
    size_t nSofAt = 0;  // the frame header's length field
    size_t nScanAt = 0; // the first byte of entropy data
};

BOOL ReadHeaders(const BYTE* bytes, size_t n, HEADERS& headers) {
    if (n < 4 || bytes[0] != MARKER || bytes[1] != SOI)
        return FALSE;
    size_t pos = 2;
    while (true) {
        if (pos >= n || bytes[pos] != MARKER)
            return FALSE;
        while (pos < n && bytes[pos] == MARKER)
            pos++;
        if (pos + 3 > n)
            return FALSE;
        const BYTE code = bytes[pos++];
        const size_t length = (size_t)ReadWord(bytes + pos);
        if (length < 2 || length > n - pos)
            return FALSE;
        if (code == SOF0 || code == SOF1) {
            if (headers.nSofAt != 0 || length < 7)
                return FALSE;
            headers.nSofAt = pos;
        } else if ((code >= SOF0 && code <= 0xCF && code != DHT) || (code >= RST0 && code <= EOI) ||
                   code == 0x01) {
            // Other frames (progressive, lossless, arithmetic), stray markers: not ours to cut.
            return FALSE;
        } else if (code == SOS) {
            headers.nScanAt = pos + length;
            return headers.nSofAt != 0;
        }
        pos += length;
    }
}

// Finds where each MCU row's entropy data begins and ends. FALSE unless the markers between
// the scan header and EOI are exactly the restart markers the layout calls for, in order.
BOOL FindRows(const BYTE* bytes, size_t n, size_t nScanAt, size_t nIntervalsPerRow,
              std::vector<size_t>& rowStart, std::vector<size_t>& rowEnd) {
    const size_t nRows = rowStart.size();
    const size_t nMarkers = nRows * nIntervalsPerRow - 1;
    size_t nSeen = 0;
    rowStart[0] = nScanAt;
    size_t pos = nScanAt;
    while (true) {
        const void* found = pos < n ? std::memchr(bytes + pos, MARKER, n - pos) : nullptr;
        if (found == nullptr)
            return FALSE; // no EOI
        const size_t at = (size_t)(static_cast<const BYTE*>(found) - bytes);
        size_t code = at + 1;
        while (code < n && bytes[code] == MARKER)
            code++; // fill bytes
        if (code >= n)
            return FALSE;
        pos = code + 1;
        if (bytes[code] == 0)
            continue; // a stuffed 0xFF of the data
        if (bytes[code] == EOI) {
            if (nSeen != nMarkers)
                return FALSE;
            rowEnd[nRows - 1] = at;
            return TRUE;
        }
        if (bytes[code] < RST0 || bytes[code] > RST7 || nSeen == nMarkers ||
            bytes[code] - RST0 != (int)(nSeen % 8))
            return FALSE;
        nSeen++;
        if (nSeen % nIntervalsPerRow == 0) {
            const size_t row = nSeen / nIntervalsPerRow;
            rowEnd[row - 1] = at;
            rowStart[row] = pos;
        }
    }
}

// The MCU rows a stripe may start its decode at: those that begin a restart interval whose
// number is a multiple of 8.
size_t RowStep(size_t nIntervalsPerRow) {
    size_t step = 1;
    while (step * nIntervalsPerRow % 8 != 0)
        step++;
    return step;
}

} // namespace

BOOL CJpegStripes::Cut(const BYTE* bytes, size_t n, const JPEG_SCAN_SHAPE& shape, int nStripes,
                       std::vector<JPEG_STRIPE>& stripes) {
    stripes.clear();
    if (shape.nWidth <= 0 || shape.nHeight <= 0 || shape.nMcuWidth <= 0 || shape.nMcuHeight <= 0 ||
        shape.nRestartInterval <= 0)
        return FALSE;
    const size_t mcusPerRow = ((size_t)shape.nWidth + shape.nMcuWidth - 1) / shape.nMcuWidth;
    const size_t rows = ((size_t)shape.nHeight + shape.nMcuHeight - 1) / shape.nMcuHeight;
    if (mcusPerRow % (size_t)shape.nRestartInterval != 0)
        return FALSE;
    // Each stripe decodes an MCU row on each inner side beyond its own and starts on a row of
    // a step of up to 8: stripes of a few rows would spend more on those than they save.
    const int count = (int)std::min((size_t)nStripes, rows / 8);
    if (count < 2)
        return FALSE;
    HEADERS headers;
    if (!ReadHeaders(bytes, n, headers))
        return FALSE;
    const BYTE* sof = bytes + headers.nSofAt;
    if (ReadWord(sof + 3) != shape.nHeight || ReadWord(sof + 5) != shape.nWidth)
        return FALSE;
    std::vector<size_t> rowStart(rows), rowEnd(rows);
    if (!FindRows(bytes, n, headers.nScanAt, mcusPerRow / (size_t)shape.nRestartInterval, rowStart,
                  rowEnd))
        return FALSE;

    // Boundaries where the entropy data is shared out evenly: the time a stripe takes goes
    // with its bytes. A stripe after the first decodes from an MCU row on the step, one above
    // the rows it gives.
    const size_t step = RowStep(mcusPerRow / (size_t)shape.nRestartInterval);
    const size_t dataStart = rowStart[0], dataSize = rowEnd[rows - 1] - dataStart;
    std::vector<size_t> keepFrom(1, 0);
    for (int i = 1; i < count; i++) {
        const size_t target = dataStart + dataSize / (size_t)count * (size_t)i;
        size_t row =
            (size_t)(std::lower_bound(rowStart.begin(), rowStart.end(), target) - rowStart.begin());
        row = row / step * step + 1;
        // Each stripe gives two rows at least, and the last ends at the picture's end.
        if (row < keepFrom.back() + 2 || row + 2 > rows)
            continue;
        keepFrom.push_back(row);
    }
    if (keepFrom.size() < 2)
        return FALSE;
    keepFrom.push_back(rows);

    const size_t height = (size_t)shape.nHeight, mcuHeight = (size_t)shape.nMcuHeight;
    stripes.resize(keepFrom.size() - 1);
    for (size_t i = 0; i < stripes.size(); i++) {
        JPEG_STRIPE& stripe = stripes[i];
        const size_t decodeFrom = i > 0 ? keepFrom[i] - 1 : 0,
                     decodeTo = std::min(keepFrom[i + 1] + 1, rows);
        stripe.nKeepFrom = (int)(keepFrom[i] * mcuHeight);
        stripe.nKeepTo = (int)std::min(keepFrom[i + 1] * mcuHeight, height);
        stripe.nDecodeFrom = (int)(decodeFrom * mcuHeight);
        stripe.nDecodeTo = (int)std::min(decodeTo * mcuHeight, height);
        stripe.headers.assign(bytes, bytes + headers.nScanAt);
        const int stripeHeight = stripe.nDecodeTo - stripe.nDecodeFrom;
        stripe.headers[headers.nSofAt + 3] = (BYTE)(stripeHeight >> 8);
        stripe.headers[headers.nSofAt + 4] = (BYTE)stripeHeight;
        stripe.pData = bytes + rowStart[decodeFrom];
        stripe.nData = rowEnd[decodeTo - 1] - rowStart[decodeFrom];
    }
    return TRUE;
}
