#include "data/JpegDecoder.h"

#include <csetjmp>
#include <memory>

#include <jpeglib.h>
#include <jerror.h>

namespace {

// A progressive picture with more scans than this is taken as hostile: each scan is a pass
// over the whole picture.
const int MAX_SCANS = 1000;

struct ERROR_MANAGER {
    jpeg_error_mgr pub;
    jmp_buf jump;
};

// The standard manager would end the process: print the library's message as it does, then
// return to Decode instead.
void ErrorExit(j_common_ptr cinfo) {
    (*cinfo->err->output_message)(cinfo);
    longjmp(reinterpret_cast<ERROR_MANAGER*>(cinfo->err)->jump, 1);
}

void LimitScans(j_common_ptr cinfo) {
    const j_decompress_ptr dinfo = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (!dinfo->is_decompressor || dinfo->input_scan_number <= MAX_SCANS) return;
    std::fprintf(stderr, "JPEG picture has more than %d scans\n", MAX_SCANS);
    ERREXIT(cinfo, JERR_NOTIMPL);
}

// One decoded scanline of `components` bytes a pixel into blue, green, red triples.
void ConvertRow(const JSAMPLE* in, BYTE* out, int width, int components, bool bInvertedCmyk) {
    switch (components) {
    case 3:
        for (int x = 0; x < width; x++, in += 3, out += 3) out[0] = in[2], out[1] = in[1], out[2] = in[0];
        break;
    case 4:
        // Adobe writes CMYK inverted (255 = no ink); others write ink amounts.
        for (int x = 0; x < width; x++, in += 4, out += 3) {
            const int c = bInvertedCmyk ? in[0] : 255 - in[0], m = bInvertedCmyk ? in[1] : 255 - in[1];
            const int y = bInvertedCmyk ? in[2] : 255 - in[2], k = bInvertedCmyk ? in[3] : 255 - in[3];
            out[0] = (BYTE)((y * k + 127) / 255);
            out[1] = (BYTE)((m * k + 127) / 255);
            out[2] = (BYTE)((c * k + 127) / 255);
        }
        break;
    default:
        // Greyscale, and colour spaces the library does not convert: the first component.
        for (int x = 0; x < width; x++, in += components, out += 3) out[0] = out[1] = out[2] = in[0];
        break;
    }
}

struct DECODE_STATE {
    jpeg_decompress_struct cinfo;
    ERROR_MANAGER err;
    jpeg_progress_mgr progress;
};

// Holds no object with a destructor: the library's errors jump out of it.
BOOL DecodeWithLibrary(FILE* file, ULONGLONG nMaxPixelBytes, DECODE_STATE* s, JPEG_ROWS_ALLOCATOR pAllocate,
                       void* pContext) {
    jpeg_decompress_struct& cinfo = s->cinfo;
    cinfo.err = jpeg_std_error(&s->err.pub);
    s->err.pub.error_exit = ErrorExit;
    if (setjmp(s->err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return FALSE;
    }
    jpeg_create_decompress(&cinfo);
    s->progress.progress_monitor = LimitScans;
    cinfo.progress = &s->progress;
    jpeg_stdio_src(&cinfo, file);
    jpeg_read_header(&cinfo, TRUE);
    jpeg_calc_output_dimensions(&cinfo);

    const ULONGLONG width = cinfo.output_width, height = cinfo.output_height;
    const ULONGLONG stride = (width * 3 + 3) / 4 * 4;
    if (stride * height > nMaxPixelBytes) {
        std::fprintf(stderr, "JPEG picture of %llu x %llu pixels needs %llu bytes, more than the %llu allowed\n",
                     (unsigned long long)width, (unsigned long long)height, (unsigned long long)(stride * height),
                     (unsigned long long)nMaxPixelBytes);
        jpeg_destroy_decompress(&cinfo);
        return FALSE;
    }
    // The library's own buffers (whole-picture coefficients for progressive pictures) stay
    // within the same order of size; beyond it the library raises an error.
    cinfo.mem->max_memory_to_use = (long)(nMaxPixelBytes < 0x20000000ULL ? 4 * nMaxPixelBytes : 0x7FFFFFFFULL);

    jpeg_start_decompress(&cinfo);
    const int components = cinfo.output_components;
    const bool bInvertedCmyk = components == 4 && cinfo.saw_Adobe_marker;
    const JDIMENSION rowBytes = cinfo.output_width * (JDIMENSION)components;
    JSAMPARRAY row = (*cinfo.mem->alloc_sarray)((j_common_ptr)&cinfo, JPOOL_IMAGE, rowBytes, 1);
    BYTE* pixels = pAllocate(pContext, (int)width, (int)height, (int)stride);
    if (!pixels) ERREXIT1(&cinfo, JERR_OUT_OF_MEMORY, 0);
    const size_t pad = (size_t)(stride - width * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        jpeg_read_scanlines(&cinfo, row, 1);
        BYTE* out = pixels + (size_t)(cinfo.output_scanline - 1) * stride;
        ConvertRow(row[0], out, (int)width, components, bInvertedCmyk);
        for (size_t i = 0; i < pad; i++) out[width * 3 + i] = 0;
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return TRUE;
}

} // namespace

BOOL CJpegDecoder::Decode(FILE* file, ULONGLONG nMaxPixelBytes, JPEG_ROWS_ALLOCATOR pAllocate, void* pContext) {
    std::unique_ptr<DECODE_STATE> state(new DECODE_STATE());
    return DecodeWithLibrary(file, nMaxPixelBytes, state.get(), pAllocate, pContext);
}
