#include "tools/pack/PictureFile.h"

#include <fcntl.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>

// clang-format off
#include <jpeglib.h>
// clang-format on

#include "tools/pack/JpegMarkers.h"
#include "tools/pack/PackCatalogue.h"
#include "tools/pack/PictureScale.h"
#include "tools/pack/PictureTransform.h"
#include "tools/pack/RowRestarts.h"
#include "tools/pack/SourceFile.h"

namespace {
// libjpeg's error manager, changed to return to the caller with the message instead of
// ending the process.
struct JPEG_ERROR {
    jpeg_error_mgr mgr;
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void OnJpegError(j_common_ptr cinfo) {
    JPEG_ERROR* err = reinterpret_cast<JPEG_ERROR*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    longjmp(err->jump, 1);
}

void IgnoreJpegMessage(j_common_ptr, int) {}

// The head of the file (where the JPEG header is) and its tail (where the end marker is).
struct FILE_ENDS {
    ULONGLONG nSize = 0;
    std::vector<BYTE> head;
    std::vector<BYTE> tail;
};

const size_t HEAD_BYTES = 1 << 20;
const size_t TAIL_BYTES = 4096;

FILE_ENDS ReadEnds(const std::string& path) {
    // O_NONBLOCK: a FIFO is refused below instead of waiting for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            CSourceFile::CheckRegular(path); // names a dangling link as such
        throw CPackError(path + ": cannot open: " + std::strerror(errno));
    }
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        CSourceFile::CheckRegular(path);
        throw CPackError(path + ": not a regular file");
    }
    FILE_ENDS ends;
    ends.nSize = (ULONGLONG)st.st_size;
    ends.head.resize((size_t)std::min<ULONGLONG>(ends.nSize, HEAD_BYTES));
    ends.tail.resize((size_t)std::min<ULONGLONG>(ends.nSize, TAIL_BYTES));
    const bool bOk =
        ::pread(fd, ends.head.data(), ends.head.size(), 0) == (ssize_t)ends.head.size() &&
        ::pread(fd, ends.tail.data(), ends.tail.size(), (off_t)(ends.nSize - ends.tail.size())) ==
            (ssize_t)ends.tail.size();
    ::close(fd);
    if (!bOk)
        throw CPackError(path + ": cannot read");
    return ends;
}

std::vector<BYTE> ReadWhole(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        throw CPackError(path + ": cannot open: " + std::strerror(errno));
    std::vector<BYTE> bytes;
    BYTE chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + n);
    const bool bError = std::ferror(f);
    std::fclose(f);
    if (bError)
        throw CPackError(path + ": cannot read");
    return bytes;
}

bool HasEndMarker(const std::vector<BYTE>& tail) {
    for (size_t i = tail.size(); i >= 2; --i)
        if (tail[i - 2] == 0xFF && tail[i - 1] == 0xD9)
            return true;
    return false;
}

void CheckPixelBlock(const std::string& path, int nWidth, int nHeight) {
    const ULONGLONG nBytes = ((ULONGLONG)nWidth * 3 + 3) / 4 * 4 * (ULONGLONG)nHeight;
    if (nBytes > CPictureFile::MAX_PIXEL_BYTES)
        throw CPackError(path + ": " + std::to_string(nWidth) + " x " + std::to_string(nHeight) +
                         " pixels are more than the viewer shows (1 GiB of pixels)");
}

PACK_PICTURE PrepareJpeg(const std::string& path, const FILE_ENDS& ends,
                         const PICTURE_OPTIONS& options) {
    PACK_PICTURE picture;
    picture.path = path;
    picture.nSourceBytes = ends.nSize;
    std::string error;
    JPEG_HEADER header;
    const std::vector<BYTE>* pHead = &ends.head;
    std::vector<BYTE> whole;
    bool bOk = CPictureFile::ReadJpegHeader(pHead->data(), pHead->size(), header, error);
    if (!bOk && ends.nSize > ends.head.size()) {
        // A header larger than the head we read (big embedded previews): read it all.
        whole = ReadWhole(path);
        pHead = &whole;
        bOk = CPictureFile::ReadJpegHeader(pHead->data(), pHead->size(), header, error);
    }
    if (!bOk)
        throw CPackError(path + ": not a JPEG that libjpeg can read: " + error);
    if (!HasEndMarker(ends.tail))
        throw CPackError(path + ": the JPEG data is cut short (no end marker)");
    CheckPixelBlock(path, header.nWidth, header.nHeight);
    const EXIF_ORIENTATION orientation =
        CJpegMarkers::ReadOrientation(pHead->data(), pHead->size());
    if (!orientation.damage.empty())
        picture.warning = path + ": the EXIF block is damaged (" + orientation.damage +
                          "); the picture is taken as upright";
    picture.nOrientation = orientation.nValue;
    picture.bLossless = CPictureTransform::KnowsSampling(pHead->data(), pHead->size()) &&
                        CPictureTransform::IsLossless(
                            CPictureTransform::OperationFor(picture.nOrientation), header.nWidth,
                            header.nHeight, header.nBlockWidth, header.nBlockHeight);
    const bool bSwap = CPictureTransform::SwapsSides(picture.nOrientation);
    picture.nWidth = bSwap ? header.nHeight : header.nWidth;
    picture.nHeight = bSwap ? header.nWidth : header.nHeight;
    if (CPictureScale::NeedsShrinking(picture.nWidth, picture.nHeight, options.nMaxSize)) {
        picture.nLongSide = options.nMaxSize;
        picture.nQuality = options.nQuality;
        picture.bLossless = false;
        CPictureScale::FitSize(picture.nWidth, picture.nHeight, options.nMaxSize, picture.nWidth,
                               picture.nHeight);
    }
    return picture;
}

PACK_PICTURE PreparePng(const std::string& path, const FILE_ENDS& ends,
                        const PICTURE_OPTIONS& options) {
    RGBA_IMAGE image = CPictureFile::ReadPng(path);
    CheckPixelBlock(path, image.nWidth, image.nHeight);
    PACK_PICTURE picture;
    picture.nSourceBytes = ends.nSize;
    int nQuality = CPictureFile::PNG_JPEG_QUALITY;
    if (CPictureScale::NeedsShrinking(image.nWidth, image.nHeight, options.nMaxSize)) {
        image = CPictureScale::Fitted(image, options.nMaxSize);
        picture.nLongSide = options.nMaxSize;
        nQuality = picture.nQuality = options.nQuality;
    }
    picture.converted =
        CPictureFile::EncodeJpeg(CPictureFile::Flipped(image), nQuality, options.background);
    picture.nWidth = image.nWidth;
    picture.nHeight = image.nHeight;
    return picture;
}
} // namespace

BOOL CPictureFile::IsPng(const BYTE* data, size_t n) {
    return n >= 8 && std::memcmp(data, "\x89PNG\r\n\x1a\n", 8) == 0;
}

PACK_PICTURE CPictureFile::Prepare(const std::string& path, const PICTURE_OPTIONS& options) {
    const FILE_ENDS ends = ReadEnds(path);
    if (ends.head.size() >= 3 && ends.head[0] == 0xFF && ends.head[1] == 0xD8 &&
        ends.head[2] == 0xFF)
        return PrepareJpeg(path, ends, options);
    if (IsPng(ends.head.data(), ends.head.size()))
        return PreparePng(path, ends, options);
    throw CPackError(path + ": not a JPEG or PNG picture");
}

std::vector<BYTE> CPictureFile::Store(const PACK_PICTURE& picture) {
    if (picture.path.empty())
        return CRowRestarts::Add(picture.converted);
    try {
        return CRowRestarts::Add(CPictureTransform::StoreUpsideDown(
            ReadWhole(picture.path), picture.nOrientation, picture.bLossless, picture.nLongSide,
            picture.nQuality));
    } catch (const CPackError& e) {
        const std::string what = e.what();
        if (what.compare(0, picture.path.size(), picture.path) == 0)
            throw;
        throw CPackError(picture.path + ": " + what);
    }
}

BOOL CPictureFile::ReadJpegSize(const BYTE* data, size_t n, int& nWidth, int& nHeight,
                                std::string& error) {
    JPEG_HEADER header;
    if (!ReadJpegHeader(data, n, header, error))
        return FALSE;
    nWidth = header.nWidth;
    nHeight = header.nHeight;
    return TRUE;
}

BOOL CPictureFile::ReadJpegHeader(const BYTE* data, size_t n, JPEG_HEADER& header,
                                  std::string& error) {
    jpeg_decompress_struct cinfo;
    JPEG_ERROR err;
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = OnJpegError;
    err.mgr.emit_message = IgnoreJpegMessage;
    err.message[0] = 0;
    if (setjmp(err.jump)) {
        error = err.message;
        jpeg_destroy_decompress(&cinfo);
        return FALSE;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, const_cast<BYTE*>(data), (unsigned long)n);
    jpeg_read_header(&cinfo, TRUE);
    header.nWidth = (int)cinfo.image_width;
    header.nHeight = (int)cinfo.image_height;
    // One component is coded in single blocks; several in units of the largest sampling.
    const bool bSingle = cinfo.num_components == 1;
    header.nBlockWidth = DCTSIZE * (bSingle ? 1 : cinfo.max_h_samp_factor);
    header.nBlockHeight = DCTSIZE * (bSingle ? 1 : cinfo.max_v_samp_factor);
    jpeg_destroy_decompress(&cinfo);
    return TRUE;
}

RGBA_IMAGE CPictureFile::ReadPng(const std::string& path) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str()))
        throw CPackError(path + ": not a PNG that libpng can read: " + png.message);
    png.format = PNG_FORMAT_BGRA; // little-endian 0xAARRGGBB words
    const ULONGLONG nBytes = (ULONGLONG)png.width * png.height * 4;
    if (nBytes > MAX_PIXEL_BYTES) {
        png_image_free(&png);
        throw CPackError(path + ": the PNG is too large to convert");
    }
    RGBA_IMAGE image;
    image.nWidth = (int)png.width;
    image.nHeight = (int)png.height;
    image.pixels.resize((size_t)png.width * png.height);
    if (!png_image_finish_read(&png, nullptr, image.pixels.data(), 0, nullptr))
        throw CPackError(path + ": the PNG is damaged: " + png.message);
    return image;
}

void CPictureFile::WritePng(const RGBA_IMAGE& image, const std::string& path) {
    const std::vector<BYTE> bytes = EncodePng(image);
    FILE* f = std::fopen(path.c_str(), "wb");
    const bool bWritten = f && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (!f || std::fclose(f) != 0 || !bWritten)
        throw CPackError(path + ": cannot write");
}

RGBA_IMAGE CPictureFile::Flipped(const RGBA_IMAGE& image) {
    RGBA_IMAGE flipped{image.nWidth, image.nHeight, {}};
    flipped.pixels.reserve(image.pixels.size());
    for (int y = image.nHeight - 1; y >= 0; --y) {
        const auto row = image.pixels.begin() + (ptrdiff_t)y * image.nWidth;
        flipped.pixels.insert(flipped.pixels.end(), row, row + image.nWidth);
    }
    return flipped;
}

std::vector<BYTE> CPictureFile::EncodePng(const RGBA_IMAGE& image) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = (png_uint_32)image.nWidth;
    png.height = (png_uint_32)image.nHeight;
    png.format = PNG_FORMAT_BGRA;
    png_alloc_size_t nBytes = 0;
    if (!png_image_write_get_memory_size(png, nBytes, 0, image.pixels.data(), 0, nullptr))
        throw CPackError(std::string("cannot make a PNG: ") + png.message);
    std::vector<BYTE> bytes(nBytes);
    if (!png_image_write_to_memory(&png, bytes.data(), &nBytes, 0, image.pixels.data(), 0, nullptr))
        throw CPackError(std::string("cannot make a PNG: ") + png.message);
    bytes.resize(nBytes);
    return bytes;
}

BOOL CPictureFile::ParseColour(const std::string& text, DWORD& colour) {
    const std::pair<const char*, DWORD> named[] = {
        {"black", 0x000000}, {"white", 0xFFFFFF}, {"grey", 0x808080}, {"gray", 0x808080}};
    for (const auto& [name, value] : named)
        if (text == name)
            return colour = value, TRUE;
    std::string hex = text.size() > 0 && text[0] == '#' ? text.substr(1) : text;
    if (hex.size() == 3)
        hex = {hex[0], hex[0], hex[1], hex[1], hex[2], hex[2]};
    if (hex.size() != 6 || hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        return FALSE;
    colour = (DWORD)std::stoul(hex, nullptr, 16);
    return TRUE;
}

std::vector<BYTE> CPictureFile::EncodeJpeg(const RGBA_IMAGE& image, int nQuality,
                                           DWORD background) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long nOut = 0;
    jpeg_mem_dest(&cinfo, &out, &nOut);
    cinfo.image_width = (JDIMENSION)image.nWidth;
    cinfo.image_height = (JDIMENSION)image.nHeight;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, nQuality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<BYTE> row((size_t)image.nWidth * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        const DWORD* src = &image.pixels[(size_t)cinfo.next_scanline * (size_t)image.nWidth];
        for (int x = 0; x < image.nWidth; ++x) {
            const DWORD a = src[x] >> 24;
            for (int c = 0; c < 3; ++c) {
                const int shift = 16 - 8 * c;
                const DWORD front = (src[x] >> shift) & 0xFF, back = (background >> shift) & 0xFF;
                row[(size_t)x * 3 + (size_t)c] = (BYTE)((front * a + back * (255 - a) + 127) / 255);
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<BYTE> bytes(out, out + nOut);
    std::free(out);
    return bytes;
}
