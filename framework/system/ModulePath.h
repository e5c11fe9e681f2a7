// The path of the running program's own file: the kernel's link to the running executable, and
// argv[0] only where that link is unavailable (a bare argv[0] found through PATH would be read
// relative to the current folder and could name another file).
#pragma once

#include "framework/core/String.h"

// Records the process's arguments; main() calls it first.
void AfxSetArgv(int argc, char** argv);
// argv[0] exactly as given (empty before AfxSetArgv).
CString AfxGetArgv0();
// Makes AfxGetModulePath return this file instead (empty: the running executable again), for
// programs that open a collection on their own behalf, such as tests and benchmarks.
void AfxSetModulePath(const CString& strPath);
// The file to open for the program's own bytes: the running executable, else argv[0].
CString AfxGetModulePath();
// The running executable's file as the platform names it; empty where it cannot tell.
CString AfxGetRunningModulePath();
