// The viewer that `build` copies: where it is found when no --viewer is given, and the check
// that a file is one before anything is written.
#pragma once

#include <string>

// The viewer beside this tool (a build tree: ../app/slideshow) or installed with it
// (../lib/slideshow/slideshow); empty when there is none.
std::string FindViewerTemplate();

// Throws CPackError naming `path` unless it is a complete viewer executable for this machine.
void CheckViewerTemplate(const std::string& path);
