// A scratch folder with drawn pictures and a stand-in viewer, for building collections.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>

#include <filesystem>
#include <fstream>
#include <string>

#include "tools/pack/PictureFile.h"

// What the slideshow-pack program said (stdout and stderr) and its exit status.
struct RUN_RESULT {
    int nExit;
    std::string out;
};

class PackFixture : public testing::Test {
protected:
    static RUN_RESULT RunPack(const std::string& args) {
        const std::string command =
            std::string(SLIDESHOW_BINARY_DIR) + "/tools/slideshow-pack " + args + " 2>&1";
        FILE* p = ::popen(command.c_str(), "r");
        RUN_RESULT result{-1, ""};
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0)
            result.out.append(buffer, n);
        const int status = ::pclose(p);
        result.nExit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return result;
    }
    // The viewer the build made: the command line refuses the stand-in as a template.
    static std::string RealViewer() { return std::string(SLIDESHOW_BINARY_DIR) + "/app/slideshow"; }

    void SetUp() override {
        char pattern[] = "/tmp/pack-test-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_dir = pattern;
        m_viewer = Path("viewer");
        WriteText(m_viewer, "#!/bin/sh\necho viewer\n");
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::string Path(const std::string& name) const { return (m_dir / name).string(); }

    static RGBA_IMAGE Gradient(int w, int h) {
        RGBA_IMAGE image{w, h, {}};
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                image.pixels.push_back(0xFF000000u | (DWORD)(x * 255 / w) << 16 |
                                       (DWORD)(y * 255 / h) << 8 | 0x40);
        return image;
    }
    std::string Jpeg(const std::string& name, int w, int h) const {
        const std::vector<BYTE> bytes = CPictureFile::EncodeJpeg(Gradient(w, h), 80);
        WriteText(Path(name), std::string(bytes.begin(), bytes.end()));
        return Path(name);
    }
    std::string Png(const std::string& name, int w, int h) const {
        CPictureFile::WritePng(Gradient(w, h), Path(name));
        return Path(name);
    }
    static void WriteText(const std::string& path, const std::string& text) {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        // A new file rather than a truncated one: truncating flushes on ext4 and is slow.
        std::filesystem::remove(path);
        std::ofstream(path, std::ios::binary) << text;
    }
    static std::string ReadAll(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // Files in the scratch folder (recursively) whose name holds `part`.
    int CountFiles(const std::string& part) const {
        int n = 0;
        for (const auto& e : std::filesystem::recursive_directory_iterator(m_dir))
            n += e.path().filename().string().find(part) != std::string::npos;
        return n;
    }

    std::filesystem::path m_dir;
    std::string m_viewer;
};
