// Temporary files with the platform's meaning: a directory ($TMPDIR, else /tmp) and unique
// names in it, each created empty and private (mode 0600) so that no other user can swap it.
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
