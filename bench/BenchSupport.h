// What the benchmark programs share: timing, a camera-like test picture, and djpeg as the
// reference decoder that figures are compared with.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "framework/core/WinTypes.h"

namespace bench {

using Clock = std::chrono::steady_clock;

inline double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// A camera-like picture: smooth gradients with some texture, 4:2:0, quality 90.
inline std::vector<BYTE> MakePhoto(int w, int h) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = (JDIMENSION)w;
    cinfo.image_height = (JDIMENSION)h;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 90, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row((size_t)w * 3);
    unsigned seed = 1;
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = (int)cinfo.next_scanline;
        for (int x = 0; x < w; x++) {
            seed = seed * 1103515245u + 12345u;
            const int noise = (int)((seed >> 16) & 15);
            row[3 * x + 0] = (JSAMPLE)((x * 255 / w + noise) & 0xFF);
            row[3 * x + 1] = (JSAMPLE)((y * 255 / h + noise) & 0xFF);
            row[3 * x + 2] = (JSAMPLE)(((x + y) / 16 * 37 + noise) & 0xFF);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<BYTE> bytes(out, out + size);
    jpeg_destroy_compress(&cinfo);
    std::free(out);
    return bytes;
}

inline void WriteBytes(const std::string& path, const std::vector<BYTE>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) {
        std::fprintf(stderr, "bench: cannot write %s\n", path.c_str());
        std::exit(1);
    }
    std::fclose(f);
}

// djpeg's full decode of the file to /dev/null; with `scale` ("1/8"), its reduced decode.
inline double TimeDjpeg(const std::string& jpegPath, const char* scale = nullptr) {
    // What is printed so far must not be printed again by the child.
    std::fflush(stdout);
    const Clock::time_point start = Clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::freopen("/dev/null", "w", stdout);
        if (scale)
            ::execlp("djpeg", "djpeg", "-scale", scale, jpegPath.c_str(), (char*)nullptr);
        else
            ::execlp("djpeg", "djpeg", jpegPath.c_str(), (char*)nullptr);
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "bench: djpeg failed (is libjpeg-turbo-progs installed?)\n");
        std::exit(1);
    }
    return MillisecondsSince(start);
}

} // namespace bench
