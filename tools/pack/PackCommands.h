// The two commands that read a viewer file: inspect and extract.
#pragma once

#include <string>

class CPackCommands {
public:
    // Prints what the file carries; a damaged file gives a message naming what and where.
    static int Inspect(const std::string& file, bool bJson);
    // Writes DIR/catalogue.json with the pictures and placeholders in DIR/pictures. DIR must
    // be empty or new unless `bForce`; no file in it is ever replaced.
    static int Extract(const std::string& file, const std::string& dir, bool bForce = false);
};
