#include "tools/pack/RowRestarts.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

#include "tools/pack/JpegMarkers.h"

namespace {

struct JUMP_ERROR {
    jpeg_error_mgr pub;
    jmp_buf jump;
};

void JumpOnError(j_common_ptr cinfo) {
    longjmp(reinterpret_cast<JUMP_ERROR*>(cinfo->err)->jump, 1);
}

// Warnings would go to stderr: the picture is left as it is instead.
void Silent(j_common_ptr) {}

struct TRANSCODE {
    jpeg_decompress_struct in;
    jpeg_compress_struct out;
    JUMP_ERROR err; // the two share it: either's error ends both
    unsigned char* buffer = nullptr;
    unsigned long nBuffer = 0;
};

// The new bytes in t->buffer, or FALSE. Holds no object with a destructor: the library's errors
// jump out of it.
BOOL Transcode(const std::vector<BYTE>& jpeg, TRANSCODE* t) {
    t->in.err = t->out.err = jpeg_std_error(&t->err.pub);
    t->err.pub.error_exit = JumpOnError;
    t->err.pub.output_message = Silent;
    jpeg_create_decompress(&t->in);
    jpeg_create_compress(&t->out);
    if (setjmp(t->err.jump)) {
        jpeg_destroy_compress(&t->out);
        jpeg_destroy_decompress(&t->in);
        return FALSE;
    }
    jpeg_mem_src(&t->in, jpeg.data(), (unsigned long)jpeg.size());
    jpeg_read_header(&t->in, TRUE);
    if (t->in.progressive_mode || t->in.arith_code || t->in.restart_interval != 0) {
        jpeg_destroy_compress(&t->out);
        jpeg_destroy_decompress(&t->in);
        return FALSE;
    }
    jvirt_barray_ptr* coefficients = jpeg_read_coefficients(&t->in);
    if (t->err.pub.num_warnings != 0) {
        jpeg_destroy_compress(&t->out);
        jpeg_destroy_decompress(&t->in);
        return FALSE;
    }
    jpeg_mem_dest(&t->out, &t->buffer, &t->nBuffer);
    jpeg_copy_critical_parameters(&t->in, &t->out);
    // The library writes these two itself; only where the picture had them, so that nothing
    // reads its colours differently.
    t->out.write_JFIF_header = t->in.saw_JFIF_marker;
    t->out.write_Adobe_marker = t->in.saw_Adobe_marker;
    t->out.restart_in_rows = 1;
    t->out.optimize_coding = TRUE;
    jpeg_write_coefficients(&t->out, coefficients);
    jpeg_finish_compress(&t->out);
    jpeg_finish_decompress(&t->in);
    const BOOL bClean = t->err.pub.num_warnings == 0;
    jpeg_destroy_compress(&t->out);
    jpeg_destroy_decompress(&t->in);
    return bClean;
}

} // namespace

std::vector<BYTE> CRowRestarts::Add(const std::vector<BYTE>& jpeg) {
    TRANSCODE t;
    const BOOL bDone = Transcode(jpeg, &t);
    std::vector<BYTE> rewritten;
    if (bDone)
        rewritten.assign(t.buffer, t.buffer + t.nBuffer);
    std::free(t.buffer);
    if (!bDone)
        return jpeg;
    return CJpegMarkers::InsertSegments(rewritten,
                                        CJpegMarkers::CarriedSegments(jpeg.data(), jpeg.size()));
}
