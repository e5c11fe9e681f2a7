// The two commands that read a viewer file: inspect and extract.
#pragma once

#include <string>

class CPackCommands {
public:
    // Prints what the file carries; a damaged file gives a message naming what and where.
    static int Inspect(const std::string& file, bool bJson);
    // Writes DIR/catalogue.json with the pictures and placeholders beside it.
    static int Extract(const std::string& file, const std::string& dir);
};
