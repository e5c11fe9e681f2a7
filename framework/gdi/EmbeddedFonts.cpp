#include "framework/gdi/EmbeddedFonts.h"

#include <strings.h>
#include <zlib.h>

#include <map>
#include <vector>

namespace {

// A font file is inflated when a face first asks for it and kept for the program's life:
// FreeType reads its faces from these bytes.
const std::vector<BYTE>* Inflated(int index) {
    static std::map<int, std::vector<BYTE>> files;
    auto found = files.find(index);
    if (found != files.end())
        return found->second.empty() ? nullptr : &found->second;
    const EMBEDDED_FONT packed = GetEmbeddedFontFile(index);
    std::vector<BYTE>& file = files[index];
    z_stream stream{};
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK)
        return nullptr;
    stream.next_in = const_cast<BYTE*>(packed.data);
    stream.avail_in = (uInt)packed.size;
    int result = Z_OK;
    while (result == Z_OK) {
        const size_t done = file.size();
        file.resize(done + 256 * 1024);
        stream.next_out = file.data() + done;
        stream.avail_out = (uInt)(file.size() - done);
        result = inflate(&stream, Z_NO_FLUSH);
        file.resize(file.size() - stream.avail_out);
    }
    inflateEnd(&stream);
    if (result != Z_STREAM_END)
        file.clear();
    return file.empty() ? nullptr : &file;
}

} // namespace

bool FindEmbeddedFont(const std::string& family, bool bBold, EMBEDDED_FONT& font) {
    int chosen = -1;
    for (int i = 0; i < GetEmbeddedFontCount(); ++i) {
        const EMBEDDED_FONT candidate = GetEmbeddedFontFile(i);
        if (strcasecmp(candidate.family, family.c_str()) != 0)
            continue;
        if (chosen < 0 || candidate.bBold == bBold)
            chosen = i;
    }
    const std::vector<BYTE>* pFile = chosen >= 0 ? Inflated(chosen) : nullptr;
    if (!pFile)
        return false;
    font = GetEmbeddedFontFile(chosen);
    font.data = pFile->data();
    font.size = pFile->size();
    return true;
}
