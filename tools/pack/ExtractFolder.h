// The folder extract writes into. The collection being unpacked may come from anyone, and the
// folder may already hold links planted by someone else, so nothing is written through a link
// and nothing that exists is replaced: every file is created new (O_EXCL | O_NOFOLLOW) inside
// folders opened without following links. A folder that already holds anything is refused
// unless forced. The catalogue appears under its name only when complete, and when the
// extraction fails, the files it made are removed again.
#pragma once

#include <string>
#include <vector>

#include "framework/core/WinTypes.h"

class CExtractFolder {
public:
    // Creates `dir` when missing, and its "pictures" folder. Throws CPackError naming the
    // folder when it holds anything and `bForce` is not set, or cannot be written.
    CExtractFolder(const std::string& dir, bool bForce);
    // Removes what was written unless Commit() was called.
    ~CExtractFolder();
    CExtractFolder(const CExtractFolder&) = delete;
    CExtractFolder& operator=(const CExtractFolder&) = delete;

    const std::string& GetPath() const { return m_dir; }
    // The path the catalogue gives for a file of the pictures folder.
    std::string PicturePath(const std::string& name) const;
    // Creates pictures/NAME with the bytes. Throws CPackError when it exists.
    void WritePicture(const std::string& name, const std::vector<BYTE>& bytes);
    // Writes catalogue.json under a temporary name and then gives it its name, which must be
    // free. Throws CPackError.
    void WriteCatalogue(const std::string& text);
    // Keeps what was written.
    void Commit() { m_bCommitted = true; }

private:
    int CreateNew(int dirFd, const std::string& name, const std::string& shownPath);
    void WriteAll(int fd, const std::vector<BYTE>& bytes, const std::string& shownPath);

    std::string m_dir;
    int m_dirFd = -1;
    int m_picturesFd = -1;
    bool m_bMadePictures = false;
    bool m_bCommitted = false;
    std::vector<std::string> m_pictures; // names created in the pictures folder
    std::string m_catalogue;             // the catalogue's name once it has one
};
