// The platform's basic types, sized as the windows and the collection format expect them.
#pragma once

#include <cstddef>
#include <cstdint>

typedef int BOOL;
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t UINT;
typedef int32_t INT;
typedef uint64_t ULONGLONG;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t ULONG_PTR;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef char CHAR;
typedef const char* LPCSTR;
typedef char* LPSTR;
typedef const char* LPCTSTR;
typedef char* LPTSTR;
typedef void* LPVOID;
typedef const void* LPCVOID;

// Colours are 0x00BBGGRR.
typedef DWORD COLORREF;
#define RGB(r, g, b)                                                                               \
    ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(c) ((BYTE)((c)&0xFF))
#define GetGValue(c) ((BYTE)(((c) >> 8) & 0xFF))
#define GetBValue(c) ((BYTE)(((c) >> 16) & 0xFF))

#define MAKELONG(a, b)                                                                             \
    ((LONG)(((WORD)((DWORD_PTR)(a)&0xffff)) | ((DWORD)((WORD)((DWORD_PTR)(b)&0xffff))) << 16))
#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)MAKELONG(l, h))
#define MAKELPARAM(l, h) ((LPARAM)(DWORD)MAKELONG(l, h))
#define LOWORD(l) ((WORD)(((DWORD_PTR)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((DWORD_PTR)(l)) >> 16) & 0xffff))
#define GET_X_LPARAM(lp) ((int)(short)LOWORD(lp))
#define GET_Y_LPARAM(lp) ((int)(short)HIWORD(lp))
typedef uintptr_t DWORD_PTR;

// Handles are opaque pointers to objects that the framework owns.
#define SLIDESHOW_DECLARE_HANDLE(name)                                                             \
    struct name##__;                                                                               \
    typedef struct name##__* name
SLIDESHOW_DECLARE_HANDLE(HWND);
SLIDESHOW_DECLARE_HANDLE(HDC);
SLIDESHOW_DECLARE_HANDLE(HBITMAP);
SLIDESHOW_DECLARE_HANDLE(HBRUSH);
SLIDESHOW_DECLARE_HANDLE(HPEN);
SLIDESHOW_DECLARE_HANDLE(HFONT);
SLIDESHOW_DECLARE_HANDLE(HCURSOR);
SLIDESHOW_DECLARE_HANDLE(HICON);
SLIDESHOW_DECLARE_HANDLE(HIMAGELIST);
SLIDESHOW_DECLARE_HANDLE(HINSTANCE);
SLIDESHOW_DECLARE_HANDLE(HRSRC);
SLIDESHOW_DECLARE_HANDLE(HGLOBAL);
typedef void* HANDLE;
// Any graphics object's handle converts to this one, as on the platform.
typedef void* HGDIOBJ;
typedef HINSTANCE HMODULE;

#define MAKEINTRESOURCE(i) ((LPCSTR)((ULONG_PTR)((WORD)(i))))
#define IS_INTRESOURCE(p) ((((ULONG_PTR)(p)) >> 16) == 0)

// nNumber × nNumerator / nDenominator in 64 bits, rounded half away from zero; −1 when the
// denominator is 0 or the result does not fit, as the platform's MulDiv.
inline int MulDiv(int nNumber, int nNumerator, int nDenominator) {
    if (nDenominator == 0)
        return -1;
    long long product = (long long)nNumber * nNumerator;
    bool bNegative = (product < 0) != (nDenominator < 0);
    unsigned long long a =
        product < 0 ? 0ULL - (unsigned long long)product : (unsigned long long)product;
    unsigned long long d = nDenominator < 0 ? 0ULL - (unsigned long long)(long long)nDenominator
                                            : (unsigned long long)nDenominator;
    unsigned long long q = (a + d / 2) / d;
    if (q > 0x7FFFFFFFULL + (bNegative ? 1 : 0))
        return -1;
    return bNegative ? (int)(0 - (long long)q) : (int)q;
}
