#include "tools/pack/ViewerTemplate.h"

#include <elf.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "tools/pack/PackCatalogue.h"

namespace {

// The viewer's mark (app/ViewerMark.cpp), reversed so that this tool does not carry it.
const char kReversedMark[] = "1:etalpmet-reweiv-wohsedils";

std::string ViewerMark() {
    std::string mark(kReversedMark);
    std::reverse(mark.begin(), mark.end());
    return mark;
}

// An executable for this machine whose header and tables all lie within the file: a cut-off
// copy ends before its own tables.
bool IsCompleteElf(std::ifstream& in, unsigned long long size) {
    Elf64_Ehdr header, self;
    if (!in.read((char*)&header, sizeof header))
        return false;
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != ELFCLASS64)
        return false;
    if (header.e_type != ET_EXEC && header.e_type != ET_DYN)
        return false;
    std::ifstream own("/proc/self/exe", std::ios::binary);
    if (own.read((char*)&self, sizeof self) && header.e_machine != self.e_machine)
        return false;
    return header.e_phoff + (unsigned long long)header.e_phnum * header.e_phentsize <= size &&
           header.e_shoff + (unsigned long long)header.e_shnum * header.e_shentsize <= size;
}

uint32_t Le(const std::vector<unsigned char>& b, size_t at, int nBytes) {
    uint32_t v = 0;
    for (int i = nBytes - 1; i >= 0; --i)
        v = (v << 8) | b[at + (size_t)i];
    return v;
}

// A 64-bit Windows program (not a DLL) whose headers and every section lie within the file.
bool IsCompletePe(std::ifstream& in, unsigned long long size) {
    const size_t kHeaderRead = 4096;
    std::vector<unsigned char> b(kHeaderRead);
    in.clear();
    in.seekg(0);
    in.read((char*)b.data(), (std::streamsize)b.size());
    b.resize((size_t)in.gcount());
    in.clear(); // a short file ends the read early; the stream is read again after this
    if (b.size() < 0x40 || b[0] != 'M' || b[1] != 'Z')
        return false;
    const size_t pe = Le(b, 0x3C, 4);
    if (pe > b.size() - 24 || std::memcmp(&b[pe], "PE\0\0", 4) != 0)
        return false;
    const uint32_t kMachineAmd64 = 0x8664, kExecutable = 0x0002, kDll = 0x2000,
                   kMagicPe32Plus = 0x20B;
    const uint32_t nSections = Le(b, pe + 6, 2), nOptional = Le(b, pe + 20, 2),
                   flags = Le(b, pe + 22, 2);
    if (Le(b, pe + 4, 2) != kMachineAmd64 || !(flags & kExecutable) || (flags & kDll))
        return false;
    const size_t table = pe + 24 + nOptional;
    if (nOptional < 2 || table + (size_t)nSections * 40 > b.size() ||
        Le(b, pe + 24, 2) != kMagicPe32Plus)
        return false;
    for (uint32_t i = 0; i < nSections; ++i) {
        const size_t section = table + (size_t)i * 40;
        if ((unsigned long long)Le(b, section + 20, 4) + Le(b, section + 16, 4) > size)
            return false;
    }
    return true;
}

// Reads in slices, each overlapping the last by the mark's length; the mark sits early in a
// viewer, so a long file is not read to its end.
bool ContainsMark(std::ifstream& in) {
    const std::string mark = ViewerMark();
    std::vector<char> buffer(1 << 20);
    size_t kept = 0;
    in.seekg(0);
    while (in.read(buffer.data() + kept, (std::streamsize)(buffer.size() - kept)) ||
           in.gcount() > 0) {
        const auto end = buffer.begin() + (std::ptrdiff_t)(kept + (size_t)in.gcount());
        if (std::search(buffer.begin(), end, mark.begin(), mark.end()) != end)
            return true;
        kept = std::min(mark.size() - 1, (size_t)(end - buffer.begin()));
        std::copy(end - (std::ptrdiff_t)kept, end, buffer.begin());
    }
    return false;
}

} // namespace

std::string FindViewerTemplate(const std::string& name) {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return std::string();
    const std::filesystem::path dir = self.parent_path();
    for (const std::filesystem::path& candidate :
         {dir / name, dir / ".." / "app" / name, dir / ".." / "lib" / "slideshow" / name})
        if (::access(candidate.c_str(), R_OK) == 0)
            return candidate.lexically_normal().string();
    return std::string();
}

bool IsWindowsViewer(const std::string& path) {
    std::error_code ec;
    const unsigned long long size = std::filesystem::file_size(path, ec);
    std::ifstream in(path, std::ios::binary);
    return !ec && in && IsCompletePe(in, size);
}

void CheckViewerTemplate(const std::string& path) {
    std::error_code ec;
    const bool bRegular = std::filesystem::is_regular_file(path, ec);
    const unsigned long long size = bRegular ? std::filesystem::file_size(path, ec) : 0;
    std::ifstream in(path, std::ios::binary);
    if (!bRegular || ec || !in)
        throw CPackError(path + ": the viewer cannot be read");
    if (!(IsCompleteElf(in, size) || IsCompletePe(in, size)) || !ContainsMark(in))
        throw CPackError(path + ": not a slideshow viewer (a wrong file, or a damaged one); give "
                                "the viewer with --viewer PATH");
}
