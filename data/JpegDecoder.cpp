#include "data/JpegDecoder.h"

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdarg>
#include <memory>
#include <new>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

#include "data/JpegStripes.h"
#include "framework/gdi/PixelMemory.h"
#include "framework/system/ParallelJobs.h"

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
    // Set when another stripe of the same picture failed: this one's rows are of no use.
    const std::atomic<bool>* pAbandon = nullptr;
};

// Called before every step of reading (each row, each part of a scan); a new scan is counted
// before any of it is read.
void LimitScans(j_common_ptr cinfo) {
    const j_decompress_ptr dinfo = reinterpret_cast<j_decompress_ptr>(cinfo);
    SCAN_PROGRESS* progress = reinterpret_cast<SCAN_PROGRESS*>(cinfo->progress);
    if ((progress->pCancel != nullptr && progress->pCancel->load(std::memory_order_relaxed)) ||
        (progress->pAbandon != nullptr && progress->pAbandon->load(std::memory_order_relaxed))) {
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

void PrepareState(DECODE_STATE* s, std::string* pMessages, const std::atomic<bool>* pCancel) {
    s->cinfo.err = jpeg_std_error(&s->err.pub);
    s->err.pub.error_exit = ErrorExit;
    s->err.pub.output_message = OutputMessage;
    s->err.pMessages = pMessages;
    s->progress.pCancel = pCancel;
    s->progress.pub.progress_monitor = LimitScans;
}

// The output row at which the picture's pixel row y begins at the scale: MCU rows begin on
// whole output rows, and the picture's end is rounded up as the library rounds its height.
JDIMENSION ScaledRow(int y, unsigned scaleNum) {
    return (JDIMENSION)(((ULONGLONG)y * scaleNum + 7) / 8);
}

// Feeds the library a stripe's headers, its part of the picture's bytes, then EOI.
struct STRIPE_SOURCE {
    jpeg_source_mgr pub;
    const JPEG_STRIPE* pStripe = nullptr;
    int nPart = 0; // fed last: 0 the headers, 1 the data, 2 and on the end marker
};

const JOCTET STRIPE_END[2] = {0xFF, JPEG_EOI};

void StartStripeSource(j_decompress_ptr) {}
void EndStripeSource(j_decompress_ptr) {}

boolean FillStripeSource(j_decompress_ptr cinfo) {
    STRIPE_SOURCE* src = reinterpret_cast<STRIPE_SOURCE*>(cinfo->src);
    if (++src->nPart == 1 && src->pStripe->nData > 0) {
        src->pub.next_input_byte = src->pStripe->pData;
        src->pub.bytes_in_buffer = src->pStripe->nData;
        return TRUE;
    }
    // Asked for more after the end: as the library's own sources, warn and end again.
    if (src->nPart > 2)
        WARNMS(cinfo, JWRN_JPEG_EOF);
    src->nPart = std::max(src->nPart, 2);
    src->pub.next_input_byte = STRIPE_END;
    src->pub.bytes_in_buffer = sizeof STRIPE_END;
    return TRUE;
}

void SkipStripeSource(j_decompress_ptr cinfo, long nBytes) {
    if (nBytes <= 0)
        return;
    size_t n = (size_t)nBytes;
    while (n > cinfo->src->bytes_in_buffer) {
        n -= cinfo->src->bytes_in_buffer;
        FillStripeSource(cinfo);
    }
    cinfo->src->next_input_byte += n;
    cinfo->src->bytes_in_buffer -= n;
}

struct STRIPE_STATE {
    DECODE_STATE decode;
    STRIPE_SOURCE source;
};

// What the stripes of one picture share.
struct STRIPED_PICTURE {
    unsigned scaleNum;
    JDIMENSION width;
    BYTE* pixels;
    size_t stride;
    long maxMemoryEach;
    const std::atomic<bool>* pCancel;
    std::atomic<bool> abandon{false};
};

// Decodes one stripe into its rows of the picture. Holds no object with a destructor: the
// library's errors jump out of it.
BOOL DecodeStripe(const JPEG_STRIPE& stripe, STRIPED_PICTURE& picture, STRIPE_STATE* state,
                  std::string* pMessages) {
    DECODE_STATE* s = &state->decode;
    jpeg_decompress_struct& cinfo = s->cinfo;
    PrepareState(s, pMessages, picture.pCancel);
    s->progress.pAbandon = &picture.abandon;
    if (setjmp(s->err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return FALSE;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.progress = &s->progress.pub;
    STRIPE_SOURCE& source = state->source;
    source.pStripe = &stripe;
    source.pub.next_input_byte = stripe.headers.data();
    source.pub.bytes_in_buffer = stripe.headers.size();
    source.pub.init_source = StartStripeSource;
    source.pub.fill_input_buffer = FillStripeSource;
    source.pub.skip_input_data = SkipStripeSource;
    source.pub.resync_to_restart = jpeg_resync_to_restart;
    source.pub.term_source = EndStripeSource;
    cinfo.src = &source.pub;
    jpeg_read_header(&cinfo, TRUE);
    cinfo.scale_num = picture.scaleNum;
    cinfo.scale_denom = 8;
    jpeg_calc_output_dimensions(&cinfo);
    const JDIMENSION first = ScaledRow(stripe.nDecodeFrom, picture.scaleNum);
    if (cinfo.output_width != picture.width ||
        cinfo.output_height != ScaledRow(stripe.nDecodeTo, picture.scaleNum) - first) {
        jpeg_destroy_decompress(&cinfo);
        return FALSE;
    }
    cinfo.mem->max_memory_to_use = picture.maxMemoryEach;
    jpeg_start_decompress(&cinfo);
    const int components = cinfo.output_components;
    const bool bInvertedCmyk = components == 4 && cinfo.saw_Adobe_marker;
    JSAMPARRAY row = (*cinfo.mem->alloc_sarray)((j_common_ptr)&cinfo, JPOOL_IMAGE,
                                                cinfo.output_width * (JDIMENSION)components, 1);
    const JDIMENSION keepFrom = ScaledRow(stripe.nKeepFrom, picture.scaleNum) - first,
                     keepTo = ScaledRow(stripe.nKeepTo, picture.scaleNum) - first;
    const size_t width = picture.width, pad = picture.stride - width * 3;
    while (cinfo.output_scanline < keepTo) {
        jpeg_read_scanlines(&cinfo, row, 1);
        const JDIMENSION line = cinfo.output_scanline - 1;
        if (line < keepFrom)
            continue; // a row above the stripe's own, read for its chroma
        BYTE* out = picture.pixels + (size_t)(first + line) * picture.stride;
        ConvertRow(row[0], out, (int)width, components, bInvertedCmyk);
        for (size_t i = 0; i < pad; i++)
            out[width * 3 + i] = 0;
    }
    // Any warning means the stripes may not give what one decode would: that one decides.
    const bool bClean = s->err.pub.num_warnings == 0;
    jpeg_destroy_decompress(&cinfo);
    return bClean;
}

enum STRIPED_RESULT { STRIPED_DONE, STRIPED_CANCELLED, STRIPED_NOT };

// After the whole picture's decompression has started and its rows are allocated: decodes it
// in stripes on several threads when the request allows and the picture can be cut.
// STRIPED_NOT: the rows are left to the whole decode, whatever the stripes wrote.
STRIPED_RESULT DecodeStriped(const DECODE_INPUT& input, const jpeg_decompress_struct& whole,
                             JPEG_DECODE_REQUEST* pRequest, BYTE* pixels, size_t stride,
                             ULONGLONG forLibrary) {
    if (pRequest == nullptr || pRequest->nMaxThreads < 2 || input.bytes == nullptr ||
        whole.progressive_mode || whole.arith_code || whole.restart_interval == 0 ||
        whole.comps_in_scan != whole.num_components ||
        (ULONGLONG)whole.image_width * whole.image_height < pRequest->nMinStripedPixels)
        return STRIPED_NOT;
    const int threads = std::min(pRequest->nMaxThreads, AfxGetParallelThreads());
    if (threads < 2)
        return STRIPED_NOT;
    // More stripes than threads: a thread that another program (or the window thread's
    // painting) slows down takes fewer of them.
    const int nStripes = std::min(pRequest->nMaxThreads, CJpegDecoder::MAX_STRIPES);
    JPEG_SCAN_SHAPE shape;
    shape.nWidth = (int)whole.image_width;
    shape.nHeight = (int)whole.image_height;
    // One component is read block by block; several, interleaved, by the largest sampling.
    shape.nMcuWidth = whole.num_components == 1 ? DCTSIZE : whole.max_h_samp_factor * DCTSIZE;
    shape.nMcuHeight = whole.num_components == 1 ? DCTSIZE : whole.max_v_samp_factor * DCTSIZE;
    shape.nRestartInterval = (int)whole.restart_interval;
    if ((whole.image_width + (JDIMENSION)shape.nMcuWidth - 1) / (JDIMENSION)shape.nMcuWidth !=
            whole.MCUs_per_row ||
        (whole.image_height + (JDIMENSION)shape.nMcuHeight - 1) / (JDIMENSION)shape.nMcuHeight !=
            whole.MCU_rows_in_scan)
        return STRIPED_NOT;

    std::vector<JPEG_STRIPE> stripes;
    std::vector<std::unique_ptr<STRIPE_STATE>> states;
    std::vector<std::string> messages;
    try {
        if (!CJpegStripes::Cut(input.bytes, input.n, shape, nStripes, stripes))
            return STRIPED_NOT;
        for (size_t i = 0; i < stripes.size(); i++)
            states.emplace_back(new STRIPE_STATE());
        messages.resize(stripes.size());
    } catch (const std::bad_alloc&) {
        return STRIPED_NOT;
    }
    STRIPED_PICTURE picture;
    picture.scaleNum = whole.scale_num;
    picture.width = whole.output_width;
    picture.pixels = pixels;
    picture.stride = stride;
    const ULONGLONG each = std::max<ULONGLONG>(forLibrary / stripes.size(), 1);
    picture.maxMemoryEach = (long)std::min<ULONGLONG>(each, 0x7FFFFFFFULL);
    picture.pCancel = pRequest->pCancel;
    std::atomic<bool> bFailed{false};
    AfxRunParallel((int)stripes.size(),
                   [&](int i) {
                       const size_t k = (size_t)i;
                       // The messages of a stripe are its own: the whole decode tells them if it
                       // must.
                       if (!DecodeStripe(stripes[k], picture, states[k].get(), &messages[k])) {
                           bFailed = true;
                           picture.abandon = true;
                       }
                   },
                   std::min(threads, (int)stripes.size()));
    if (pRequest->pCancel != nullptr && pRequest->pCancel->load())
        return STRIPED_CANCELLED;
    if (bFailed)
        return STRIPED_NOT;
    pRequest->nStripesUsed = (int)stripes.size();
    return STRIPED_DONE;
}

// Holds no object with a destructor: the library's errors jump out of it.
BOOL DecodeWithLibrary(const DECODE_INPUT& input, ULONGLONG nMaxPixelBytes, DECODE_STATE* s,
                       JPEG_ROWS_ALLOCATOR pAllocate, void* pContext,
                       JPEG_DECODE_REQUEST* pRequest) {
    jpeg_decompress_struct& cinfo = s->cinfo;
    PrepareState(s, pRequest ? pRequest->pMessages : nullptr,
                 pRequest ? pRequest->pCancel : nullptr);
    if (setjmp(s->err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return FALSE;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.progress = &s->progress.pub;
    if (pRequest)
        pRequest->nStripesUsed = 0;
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
    switch (DecodeStriped(input, cinfo, pRequest, pixels, (size_t)stride, forLibrary)) {
    case STRIPED_DONE:
        jpeg_destroy_decompress(&cinfo);
        return TRUE;
    case STRIPED_CANCELLED:
        s->err.bRefused = true;
        ERREXIT(&cinfo, JERR_NOTIMPL);
        break;
    case STRIPED_NOT:
        break;
    }
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
    if (pRequest)
        pRequest->nStripesUsed = 1;
    return TRUE;
}

// The file from its position to its end; FALSE, with the position unchanged, when it cannot be
// had (a file of more than MAX_READ bytes is left to be streamed).
BOOL ReadRest(FILE* file, std::vector<BYTE>& bytes) {
    const size_t MAX_READ = 256u << 20;
    const long start = std::ftell(file);
    if (start < 0 || std::fseek(file, 0, SEEK_END) != 0)
        return FALSE;
    const long end = std::ftell(file);
    BOOL bRead = FALSE;
    if (end >= start && (unsigned long)(end - start) <= MAX_READ &&
        std::fseek(file, start, SEEK_SET) == 0) {
        try {
            bytes.resize((size_t)(end - start));
            bRead =
                !bytes.empty() && std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
        } catch (const std::bad_alloc&) {
            bRead = FALSE;
        }
    }
    if (!bRead)
        std::fseek(file, start, SEEK_SET);
    return bRead;
}

} // namespace

BOOL CJpegDecoder::Decode(FILE* file, ULONGLONG nMaxPixelBytes, JPEG_ROWS_ALLOCATOR pAllocate,
                          void* pContext, JPEG_DECODE_REQUEST* pRequest) {
    if (pRequest != nullptr && pRequest->nMaxThreads > 1) {
        // Stripes are cut from the bytes in memory; a file that cannot be read whole is decoded
        // from where it stands, as any other.
        std::vector<BYTE> bytes;
        if (ReadRest(file, bytes))
            return DecodeBytes(bytes.data(), bytes.size(), nMaxPixelBytes, pAllocate, pContext,
                               pRequest);
    }
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
