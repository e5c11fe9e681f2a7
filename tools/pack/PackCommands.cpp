#include "tools/pack/PackCommands.h"

#include <cstdio>

int CPackCommands::Inspect(const std::string&, bool) {
    std::fprintf(stderr, "slideshow-pack: inspect is not available yet\n");
    return 1;
}

int CPackCommands::Extract(const std::string&, const std::string&) {
    std::fprintf(stderr, "slideshow-pack: extract is not available yet\n");
    return 1;
}
