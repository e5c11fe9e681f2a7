#include "data/JpegDecoder.h"

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdarg>
#include <memory>
#include <new>

#include <jerror.h>
#include <jpeglib.h>

#include "framework/gdi/PixelMemory.h"

namespace {

// A progressive picture is read scan by scan, and each scan is a pass over the 8 x 8 blocks of
// the components it carries, so the work of one decode is the blocks of all its scans. A
// picture that would pass the bounds is taken as hostile and refused before the scan that
// passes them: what was read until then takes a fraction of a second (a blank block costs
// about 8 ns). The ten scans of a 100-megapixel photograph in the library's default
// progression take about a third of the block bound.
const ULONGLONG MAX_SCAN_BLOCKS = CJpegDecoder::MAX_SCAN_BLOCKS;
const int MAX_SCANS = CJpegDecoder::MAX_SCANS;

struct ERROR_MANAGER {
    jpeg_error_mgr pub;
    jmp_buf jump;
    bool bRefused = false;            // the refusal is told already, or the decode cancelled
    std::string* pMessages = nullptr; // null: stderr
};

// One line of the decoder's, where the request sends its messages.
void Report(j_common_ptr cinfo, const char* format, ...) {
    char line[JMSG_LENGTH_MAX + 200];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    std::string* pMessages = reinterpret_cast<ERROR_MANAGER*>(cinfo->err)->pMessages;
    try {
        if (pMessages != nullptr) {
            pMessages->append(line).append("\n");
            return;
        }
    } catch (const std::bad_alloc&) {
        // No room to keep it: told at once instead.
    }
    std::fprintf(stderr, "%s\n", line);
}

// The library's own messages, errors and warnings alike.
void OutputMessage(j_common_ptr cinfo) {
    char message[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, message);
    Report(cinfo, "%s", message);
}

// The standard manager would end the process: print the library's message as it does, then
// return to Decode instead.
void ErrorExit(j_common_ptr cinfo) {
    const j_decompress_ptr dinfo = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (cinfo->err->msg_code == JERR_NO_BACKING_STORE && cinfo->is_decompressor)
        // Its buffers would pass what the pixel budget leaves beside the picture.
        Report(cinfo,
               "JPEG picture of %u x %u pixels needs more memory to decode than the pixel "
               "budget has left",
               dinfo->image_width, dinfo->image_height);
    else if (cinfo->err->msg_code != JERR_NOTIMPL ||
             !reinterpret_cast<ERROR_MANAGER*>(cinfo->err)->bRefused)
        (*cinfo->err->output_message)(cinfo);
    longjmp(reinterpret_cast<ERROR_MANAGER*>(cinfo->err)->jump, 1);
}

struct SCAN_PROGRESS {
    jpeg_progress_mgr pub;
    int nScan = 0;
    ULONGLONG nBlocks = 0;
    const std::atomic<bool>* pCancel = nullptr;
};

// Called before every step of reading (each row, each part of a scan); a new scan is counted
// before any of it is read.
void LimitScans(j_common_ptr cinfo) {
    const j_decompress_ptr dinfo = reinterpret_cast<j_decompress_ptr>(cinfo);
    SCAN_PROGRESS* progress = reinterpret_cast<SCAN_PROGRESS*>(cinfo->progress);
    if (progress->pCancel != nullptr && progress->pCancel->load(std::memory_order_relaxed)) {
        reinterpret_cast<ERROR_MANAGER*>(cinfo->err)->bRefused = true;
        ERREXIT(cinfo, JERR_NOTIMPL);
    }
    if (!dinfo->is_decompressor || dinfo->input_scan_number == progress->nScan)
        return;
    progress->nScan = dinfo->input_scan_number;
    for (int i = 0; i < dinfo->comps_in_scan; i++)
        progress->nBlocks += (ULONGLONG)dinfo->cur_comp_info[i]->width_in_blocks *
                             dinfo->cur_comp_info[i]->height_in_blocks;
    if (progress->nScan <= MAX_SCANS && progress->nBlocks <= MAX_SCAN_BLOCKS)
        return;
    Report(cinfo,
           "JPEG picture of %u x %u pixels in %d or more scans would take too long to decode",
           dinfo->image_width, dinfo->image_height, progress->nScan);
    reinterpret_cast<ERROR_MANAGER*>(cinfo->err)->bRefused = true;
    ERREXIT(cinfo, JERR_NOTIMPL);
}

// One decoded scanline of `components` bytes a pixel into blue, green, red triples.
void ConvertRow(const JSAMPLE* in, BYTE* out, int width, int components, bool bInvertedCmyk) {
    switch (components) {
    case 3:
        for (int x = 0; x < width; x++, in += 3, out += 3)
            out[0] = in[2], out[1] = in[1], out[2] = in[0];
        break;
    case 4:
        // Adobe writes CMYK inverted (255 = no ink); others write ink amounts.
        for (int x = 0; x < width; x++, in += 4, out += 3) {
            const int c = bInvertedCmyk ? in[0] : 255 - in[0],
                      m = bInvertedCmyk ? in[1] : 255 - in[1];
            const int y = bInvertedCmyk ? in[2] : 255 - in[2],
                      k = bInvertedCmyk ? in[3] : 255 - in[3];
            out[0] = (BYTE)((y * k + 127) / 255);
            out[1] = (BYTE)((m * k + 127) / 255);
            out[2] = (BYTE)((c * k + 127) / 255);
        }
        break;
    default:
        // Greyscale, and colour spaces the library does not convert: the first component.
        for (int x = 0; x < width; x++, in += components, out += 3)
            out[0] = out[1] = out[2] = in[0];
        break;
    }
}

// The file, or else the bytes, a decode reads.
struct DECODE_INPUT {
    FILE* file;
    const BYTE* bytes;
    size_t n;
};

struct DECODE_STATE {
    jpeg_decompress_struct cinfo;
    ERROR_MANAGER err;
    SCAN_PROGRESS progress;
};

// Holds no object with a destructor: the library's errors jump out of it.
BOOL DecodeWithLibrary(const DECODE_INPUT& input, ULONGLONG nMaxPixelBytes, DECODE_STATE* s,
                       JPEG_ROWS_ALLOCATOR pAllocate, void* pContext,
                       JPEG_DECODE_REQUEST* pRequest) {
    jpeg_decompress_struct& cinfo = s->cinfo;
    cinfo.err = jpeg_std_error(&s->err.pub);
    s->err.pub.error_exit = ErrorExit;
    s->err.pub.output_message = OutputMessage;
    if (pRequest) {
        s->err.pMessages = pRequest->pMessages;
        s->progress.pCancel = pRequest->pCancel;
    }
    if (setjmp(s->err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return FALSE;
    }
    jpeg_create_decompress(&cinfo);
    s->progress.pub.progress_monitor = LimitScans;
    cinfo.progress = &s->progress.pub;
    if (input.file != nullptr)
        jpeg_stdio_src(&cinfo, input.file);
    else
        jpeg_mem_src(&cinfo, input.bytes, (unsigned long)input.n);
    jpeg_read_header(&cinfo, TRUE);
    if (pRequest) {
        pRequest->nFullWidth = (int)cinfo.image_width;
        pRequest->nFullHeight = (int)cinfo.image_height;
        // The library scales in the inverse DCT: a picture decoded at 1/8 costs a fraction of
        // a full decode and needs an eighth of the rows in each direction.
        cinfo.scale_num =
            (unsigned)CJpegDecoder::ChooseScale((int)cinfo.image_width, (int)cinfo.image_height,
                                                pRequest->nBoxWidth, pRequest->nBoxHeight);
        cinfo.scale_denom = 8;
    }
    jpeg_calc_output_dimensions(&cinfo);

    const ULONGLONG width = cinfo.output_width, height = cinfo.output_height;
    const ULONGLONG stride = (width * 3 + 3) / 4 * 4;
    const ULONGLONG bytes = stride * height, available = CPixelBudget::GetAvailable();
    if (bytes > nMaxPixelBytes || bytes > available) {
        const bool bBudget = nMaxPixelBytes >= available;
        Report((j_common_ptr)&cinfo,
               "JPEG picture of %llu x %llu pixels needs %llu bytes, more than the %llu %s",
               (unsigned long long)width, (unsigned long long)height, (unsigned long long)bytes,
               (unsigned long long)(bBudget ? available : nMaxPixelBytes),
               bBudget ? "left of the pixel budget" : "allowed");
        jpeg_destroy_decompress(&cinfo);
        return FALSE;
    }
    // The library's own buffers (whole-picture coefficients for progressive pictures) live
    // beside the bitmap while it is filled: they get what the budget has left after it, and
    // beyond that the library raises an error. (0 would mean no limit at all.)
    const ULONGLONG forLibrary = available - bytes;
    cinfo.mem->max_memory_to_use =
        forLibrary == 0 ? 1 : (long)(forLibrary < 0x7FFFFFFFULL ? forLibrary : 0x7FFFFFFFULL);

    jpeg_start_decompress(&cinfo);
    const int components = cinfo.output_components;
    const bool bInvertedCmyk = components == 4 && cinfo.saw_Adobe_marker;
    const JDIMENSION rowBytes = cinfo.output_width * (JDIMENSION)components;
    JSAMPARRAY row = (*cinfo.mem->alloc_sarray)((j_common_ptr)&cinfo, JPOOL_IMAGE, rowBytes, 1);
    BYTE* pixels = pAllocate(pContext, (int)width, (int)height, (int)stride);
    if (!pixels)
        ERREXIT1(&cinfo, JERR_OUT_OF_MEMORY, 0);
    const size_t pad = (size_t)(stride - width * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        jpeg_read_scanlines(&cinfo, row, 1);
        BYTE* out = pixels + (size_t)(cinfo.output_scanline - 1) * stride;
        ConvertRow(row[0], out, (int)width, components, bInvertedCmyk);
        for (size_t i = 0; i < pad; i++)
            out[width * 3 + i] = 0;
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return TRUE;
}

} // namespace

BOOL CJpegDecoder::Decode(FILE* file, ULONGLONG nMaxPixelBytes, JPEG_ROWS_ALLOCATOR pAllocate,
                          void* pContext, JPEG_DECODE_REQUEST* pRequest) {
    std::unique_ptr<DECODE_STATE> state(new DECODE_STATE());
    return DecodeWithLibrary(DECODE_INPUT{file, nullptr, 0}, nMaxPixelBytes, state.get(), pAllocate,
                             pContext, pRequest);
}

BOOL CJpegDecoder::DecodeBytes(const BYTE* bytes, size_t n, ULONGLONG nMaxPixelBytes,
                               JPEG_ROWS_ALLOCATOR pAllocate, void* pContext,
                               JPEG_DECODE_REQUEST* pRequest) {
    std::unique_ptr<DECODE_STATE> state(new DECODE_STATE());
    return DecodeWithLibrary(DECODE_INPUT{nullptr, bytes, n}, nMaxPixelBytes, state.get(),
                             pAllocate, pContext, pRequest);
}

int CJpegDecoder::ChooseScale(int nWidth, int nHeight, int nBoxWidth, int nBoxHeight) {
    if (nWidth <= 0 || nHeight <= 0 || nBoxWidth <= 0 || nBoxHeight <= 0 ||
        (nWidth <= nBoxWidth && nHeight <= nBoxHeight))
        return 8;
    // The picture shrunk to fit, each side rounded up: the windows' placement truncates, so
    // the rectangle they draw is never larger than this.
    const double fit = std::min((double)nBoxWidth / nWidth, (double)nBoxHeight / nHeight);
    const long long drawnWidth = (long long)std::ceil(nWidth * fit),
                    drawnHeight = (long long)std::ceil(nHeight * fit);
    for (int k = 1; k < 8; k++) {
        // The library's output size at k/8: each side scaled and rounded up.
        const long long outWidth = ((long long)nWidth * k + 7) / 8,
                        outHeight = ((long long)nHeight * k + 7) / 8;
        if (outWidth >= drawnWidth && outHeight >= drawnHeight)
            return k;
    }
    return 8;
}
