// Conversions between the collection's text encodings and the UTF-8 that CString holds.
#pragma once

#include <string>

#include "framework/core/String.h"

// Windows-1252 bytes to UTF-8. The five bytes that code page leaves undefined map to the C1
// control characters of the same value, as the platform's own conversion does.
CString AnsiToUtf8(const BYTE* text, size_t nBytes);
// UTF-16LE code units (two bytes each, low byte first) to UTF-8; an unpaired surrogate
// becomes U+FFFD.
CString Utf16LeToUtf8(const BYTE* text, size_t nUnits);

// UTF-8 to Windows-1252; FALSE when some character has no one-byte form (out is then
// undefined). Invalid UTF-8 has none either.
BOOL Utf8ToAnsi(const CString& text, std::string& out);
// UTF-8 to UTF-16 code units; invalid UTF-8 sequences become U+FFFD.
std::u16string Utf8ToUtf16(const CString& text);
