// The viewer that `build` copies: where it is found when no --viewer is given, and the check
// that a file is one before anything is written.
#pragma once

#include <string>

// The viewer file of that name (slideshow, or slideshow.exe for Windows) beside this tool (a
// build tree: ../app/NAME) or installed with it (../lib/slideshow/NAME); empty when there is
// none.
std::string FindViewerTemplate(const std::string& name = "slideshow");

// Throws CPackError naming `path` unless it is a complete viewer executable: for this machine,
// or for 64-bit Windows.
void CheckViewerTemplate(const std::string& path);

// TRUE when the viewer is a Windows program: the collection it makes is named NAME.exe.
bool IsWindowsViewer(const std::string& path);
