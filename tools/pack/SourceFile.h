// The files a source names (catalogues, pictures, placeholders, the viewer) are read only when
// they are regular files: a FIFO would block the tool for ever and a link to a device would
// read until memory runs out.
#pragma once

#include <string>

class CSourceFile {
public:
    // Throws CPackError naming the file when it is missing or not a regular file (links are
    // followed: a link to a regular file is one).
    static void CheckRegular(const std::string& path);
    // The whole of a regular file. Throws CPackError naming the file.
    static std::string ReadAll(const std::string& path);
    // Throws CPackError naming `what` when a path holds a NUL byte: the system would read
    // only the part before it, a file other than the one named.
    static void CheckPath(const std::string& path, const std::string& what);
};
