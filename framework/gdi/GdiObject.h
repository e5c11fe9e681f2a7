// Graphics objects: each wrapper owns one handle, adopts one with Attach and releases it with
// DeleteObject or its destructor. The handles point to objects that framework/gdi keeps.
#pragma once

#include "framework/core/Object.h"
#include "framework/gdi/GdiTypes.h"

class CDC;

// Free functions with the platform's names and meanings.
HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* pbmi, UINT usage, void** ppvBits,
                         HANDLE hSection, DWORD offset);
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreatePatternBrush(HBITMAP bitmap);
HPEN CreatePen(int style, int width, COLORREF color);
HFONT CreateFontIndirect(const LOGFONT* lf);
HGDIOBJ GetStockObject(int index);
// Fills `out` (BITMAP, LOGBRUSH, LOGPEN or LOGFONT by the object's kind); returns bytes written.
int GetObject(HGDIOBJ h, int size, void* out);
BOOL DeleteObject(HGDIOBJ h);
// A bitmap from the program's resources (BMP of 1, 4, 8, 16, 24 or 32 bits), or null.
HBITMAP LoadBitmap(HINSTANCE instance, LPCSTR name);
COLORREF GetSysColor(int index);
HBRUSH GetSysColorBrush(int index);
BOOL SystemParametersInfo(UINT action, UINT param, void* pv, UINT winIni);
#define SystemParametersInfoA SystemParametersInfo

class CGdiObject : public CObject {
public:
    CGdiObject() = default;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    ~CGdiObject() override;

    HGDIOBJ m_hObject = nullptr;

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    operator HGDIOBJ() const { return m_hObject; }
    BOOL Attach(HGDIOBJ h);
    HGDIOBJ Detach();
    BOOL DeleteObject();
    int GetObject(int size, void* out) const;
};

class CBitmap : public CGdiObject {
public:
    operator HBITMAP() const { return (HBITMAP)m_hObject; }
    static CBitmap* FromHandle(HBITMAP h);
    BOOL LoadBitmap(UINT nIDResource);
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
    BOOL CreateCompatibleBitmap(CDC* pDC, int width, int height);
    int GetBitmap(BITMAP* pBitmap) const { return GetObject(sizeof(BITMAP), pBitmap); }
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    operator HBRUSH() const { return (HBRUSH)m_hObject; }
    static CBrush* FromHandle(HBRUSH h);
    BOOL CreateSolidBrush(COLORREF color);
    BOOL CreatePatternBrush(CBitmap* pBitmap);
    BOOL CreateSysColorBrush(int index);
    int GetLogBrush(LOGBRUSH* p) const { return GetObject(sizeof(LOGBRUSH), p); }
};

class CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
    operator HPEN() const { return (HPEN)m_hObject; }
    static CPen* FromHandle(HPEN h);
    BOOL CreatePen(int style, int width, COLORREF color);
};

class CFont : public CGdiObject {
public:
    operator HFONT() const { return (HFONT)m_hObject; }
    static CFont* FromHandle(HFONT h);
    BOOL CreateFontIndirect(const LOGFONT* lf);
    int GetLogFont(LOGFONT* p) const { return GetObject(sizeof(LOGFONT), p); }
};
