// The temporary files made and not yet removed, shared by each platform's GetTempFileName: a
// path is claimed a slot before its file is made and committed once the file exists, so that
// an ending signal or an exit in between removes nothing it should not.
#pragma once

#include "framework/core/WinTypes.h"

struct TEMP_FILE_SLOT;

// A free slot, claimed for the caller (never null).
TEMP_FILE_SLOT* AfxClaimTempFileSlot();
// The file now exists: it is remembered until removed.
void AfxCommitTempFileSlot(TEMP_FILE_SLOT* pSlot, LPCSTR path);
// No file was made: the slot is free again.
void AfxAbandonTempFileSlot(TEMP_FILE_SLOT* pSlot);
// The platform's removal of one file, safe inside a signal handler.
void AfxDeleteTempFileNow(LPCSTR path);
// The files go at exit and when an exception ends the program (once, however often called).
void AfxRemoveTempFilesAtExit();
