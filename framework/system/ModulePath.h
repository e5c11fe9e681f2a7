// The path of the running program's own file. On this platform argv[0] is often a bare name
// found through PATH, so the kernel's link to the executable stands in when argv[0] names no
// readable file.
#pragma once

#include "framework/core/String.h"

// Records the process's arguments; main() calls it first.
void AfxSetArgv(int argc, char** argv);
// argv[0] exactly as given (empty before AfxSetArgv).
CString AfxGetArgv0();
// The file to open for the program's own bytes: argv[0] when it names a readable regular
// file, otherwise the running executable.
CString AfxGetModulePath();
