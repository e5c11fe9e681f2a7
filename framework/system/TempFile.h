// Temporary files with the platform's meaning: a directory ($TMPDIR when it is a usable
// directory, else /tmp) and unique names in it, each created empty and private (mode 0600) so
// that no other user can swap it.
//
// Every file made here is remembered until CFile::Remove takes it away, so that the files
// still there go when the program ends in any way: at exit, on an unhandled exception, and on
// SIGTERM, SIGINT or SIGHUP (AfxInstallTempFileCleanup).
#pragma once

#include "framework/core/WinTypes.h"

#define MAX_PATH 260

// Writes the directory, ending in '/', into `buffer`; returns its length, 0 when no usable
// directory exists or it does not fit in `nBufferLength` characters with its terminator.
DWORD GetTempPath(DWORD nBufferLength, LPSTR buffer);
// Creates a new empty file "<dir><prefix>XXXXXX.tmp" (the first three characters of the
// prefix) and writes its path into `tempFileName` (MAX_PATH characters); returns a non-zero
// number, 0 on failure. `uUnique` must be 0: the name is always chosen and created here.
UINT GetTempFileName(LPCSTR pathName, LPCSTR prefix, UINT uUnique, LPSTR tempFileName);
#define GetTempPathA GetTempPath
#define GetTempFileNameA GetTempFileName

// Installs the handlers: SIGTERM, SIGINT and SIGHUP remove the temporary files still there and
// end the process at once, by that signal, whatever it was doing (a long load, a message box).
// Install after any library that sets its own handlers for them.
void AfxInstallTempFileCleanup();
// Removes every temporary file still remembered. Async-signal-safe.
void AfxRemoveTempFiles();
// Forgets a temporary file that has been removed (CFile::Remove calls it).
void AfxForgetTempFile(LPCSTR path);
// How many temporary files are remembered, for tests.
int AfxGetTempFileCount();
