// `slideshow-pack init FOLDER`: a starter collection.json for a folder of pictures, listing
// each picture under "pictures" with the name build would give it and empty texts and details
// to fill in, so that nobody has to learn the keys from the documentation first.
#pragma once

#include <string>

class CFolderStarter {
public:
    // Writes FOLDER/collection.json; returns the number of pictures it lists. Throws CPackError
    // when the folder has no pictures or already has a collection.json, which is never replaced.
    static size_t Write(const std::string& folder);
};
