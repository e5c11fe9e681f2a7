// How long slideshow-pack takes to build a 1,000-picture collection of 2-megapixel JPEGs,
// against reading the same pictures with `cat` to /dev/null. Every JPEG is turned upside down
// on its compressed blocks (its size fits the block grid, so without loss): the bound is 3 x.
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace fs = std::filesystem;

namespace {
const int PICTURES = 1000;
const int WIDTH = 1632, HEIGHT = 1232; // 2.0 megapixels, whole 16-pixel blocks

std::vector<unsigned char> PhotographLikeJpeg() {
    std::mt19937 rng(7);
    std::vector<unsigned char> rgb((size_t)WIDTH * HEIGHT * 3);
    for (int y = 0; y < HEIGHT; ++y)
        for (int x = 0; x < WIDTH; ++x) {
            unsigned char* p = &rgb[((size_t)y * WIDTH + x) * 3];
            const int grain = (int)(rng() % 24);
            p[0] = (unsigned char)(x * 200 / WIDTH + grain);
            p[1] = (unsigned char)(y * 180 / HEIGHT + grain);
            p[2] = (unsigned char)((x + y) * 120 / (WIDTH + HEIGHT) + 60 + grain);
        }
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = WIDTH;
    cinfo.image_height = HEIGHT;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 85, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = &rgb[(size_t)cinfo.next_scanline * WIDTH * 3];
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<unsigned char> bytes(out, out + size);
    std::free(out);
    return bytes;
}

double SecondsToRun(const std::string& command) {
    const auto start = std::chrono::steady_clock::now();
    const int status = std::system(command.c_str());
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "bench_pack: failed: %s\n", command.c_str());
        std::exit(1);
    }
    return seconds;
}

double Best(int runs, const std::string& command, const fs::path& removeBefore = fs::path()) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        if (!removeBefore.empty())
            fs::remove(removeBefore);
        best = std::min(best, SecondsToRun(command));
    }
    return best;
}
} // namespace

int main() {
    const fs::path self = fs::read_symlink("/proc/self/exe");
    const fs::path pack = self.parent_path().parent_path() / "tools" / "slideshow-pack";
    // The tool checks that the viewer it is given is one.
    const fs::path viewer = self.parent_path().parent_path() / "app" / "slideshow";
    for (const fs::path& needed : {pack, viewer}) {
        if (!fs::exists(needed)) {
            std::fprintf(stderr, "bench_pack: %s is not built\n", needed.c_str());
            return 1;
        }
    }
    char pattern[] = "/tmp/bench-pack-XXXXXX";
    if (!::mkdtemp(pattern))
        return 1;
    const fs::path dir = pattern, pictures = dir / "pictures", output = dir / "collection";
    fs::create_directories(pictures);

    // One picture, stored 1,000 times with a different comment so no two files are equal.
    const std::vector<unsigned char> jpeg = PhotographLikeJpeg();
    unsigned long long total = 0;
    for (int i = 0; i < PICTURES; ++i) {
        char name[32], comment[16];
        std::snprintf(name, sizeof name, "%04d.jpg", i);
        std::snprintf(comment, sizeof comment, "picture %04d", i);
        FILE* f = std::fopen((pictures / name).c_str(), "wb");
        const unsigned char com[4] = {0xFF, 0xFE, 0x00, (unsigned char)(2 + std::strlen(comment))};
        std::fwrite(jpeg.data(), 1, 2, f);
        std::fwrite(com, 1, 4, f);
        std::fwrite(comment, 1, std::strlen(comment), f);
        std::fwrite(jpeg.data() + 2, 1, jpeg.size() - 2, f);
        std::fclose(f);
        total += jpeg.size() + 4 + std::strlen(comment);
    }

    const std::string cat = "cat " + pictures.string() + "/*.jpg > /dev/null";
    const std::string build = pack.string() + " build " + pictures.string() + " -o " +
                              output.string() + " --viewer " + viewer.string() + " >/dev/null 2>&1";
    SecondsToRun("sync"); // no writing-back of the new pictures during the timings
    SecondsToRun(cat);    // the pictures in the page cache for both
    const double catSeconds = Best(5, cat);
    const double buildSeconds = Best(5, build, output);
    // The library's own tool, one picture after another: what one lossless flip costs.
    const std::string jpegtran = "for f in " + pictures.string() +
                                 "/*.jpg; do jpegtran -flip vertical -perfect \"$f\" || exit 1; "
                                 "done > /dev/null";
    const double jpegtranSeconds = Best(1, jpegtran);
    std::printf("pictures: %d JPEGs of %d x %d, %.1f MB in all\n", PICTURES, WIDTH, HEIGHT,
                total / 1e6);
    std::printf("cat to /dev/null:     %7.3f s\n", catSeconds);
    std::printf("slideshow-pack build: %7.3f s  (%.2f x cat; the bound is 3 x)\n", buildSeconds,
                buildSeconds / catSeconds);
    std::printf("jpegtran -flip, each: %7.3f s  (%.2f x cat)\n", jpegtranSeconds,
                jpegtranSeconds / catSeconds);
    fs::remove_all(dir);
    return 0;
}
