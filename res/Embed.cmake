# Writes OUTPUT: a C++ source that holds each of FILES (comma-separated names in SOURCE_DIR) as a byte array,
# with FindEmbeddedFile to look one up by name. Run at build time with cmake -P.
string(REPLACE "," ";" FILES "${FILES}")
set(arrays "")
set(entries "")
set(index 0)
foreach(name IN LISTS FILES)
  file(READ "${SOURCE_DIR}/${name}" hex HEX)
  file(SIZE "${SOURCE_DIR}/${name}" size)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "((0x..,){32})" "\\1\n" bytes "${bytes}")
  string(APPEND arrays "const BYTE g_abFile${index}[] = {\n${bytes}0};\n")
  string(APPEND entries "    {\"${name}\", g_abFile${index}, ${size}},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE "${OUTPUT}.tmp" "// Generated from the files in res/ by res/Embed.cmake; do not edit.
#include \"res/EmbeddedFiles.h\"

#include <cstring>

namespace {
${arrays}
const EMBEDDED_FILE g_files[] = {
${entries}};
} // namespace

const EMBEDDED_FILE* FindEmbeddedFile(LPCSTR name) {
    for (const EMBEDDED_FILE& file : g_files)
        if (name && std::strcmp(file.name, name) == 0) return &file;
    return nullptr;
}
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
