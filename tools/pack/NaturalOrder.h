// The order people expect of file names: runs of digits compare as numbers (IMG_2 before
// IMG_10), letters without regard to case.
#pragma once

#include <string>

class CNaturalOrder {
public:
    static bool Less(const std::string& a, const std::string& b);
};
