// A device context: where drawing goes (a window's part of the screen, or a bitmap selected
// into a memory context), clipped to a rectangle, with the selected pen, brush, font and bitmap,
// colours and modes. Coordinates are logical: device = logical − window origin (MM_TEXT only).
// The state behind an HDC lives in framework/gdi/DCState.h.
#pragma once

#include <vector>

#include "framework/core/String.h"
#include "framework/gdi/DeviceScale.h"
#include "framework/gdi/GdiObject.h"
#include "framework/gdi/Surface.h"

// Free functions with the platform's names, for code that holds a bare HDC.
// A memory context on nothing: it draws once a bitmap is selected into it.
HDC CreateCompatibleDC(HDC hdc);
// Releases any context, a window's or a memory one; selected objects stay alive.
BOOL DeleteDC(HDC hdc);
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h);
BOOL GetTextExtentPoint32(HDC hdc, LPCSTR text, int length, SIZE* size);
// Draws image i of an image list with its top-left at (x, y): ILD_TRANSPARENT (or ILD_NORMAL
// on a list without a background colour) keeps the destination under masked pixels and blends
// 32-bit images by their alpha; ILD_NORMAL on a list with a background colour puts that colour
// under masked pixels.
class CImageList;
BOOL ImageList_Draw(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, UINT fStyle);
BOOL ImageList_Draw(CImageList* pImageList, int i, HDC hdcDst, int x, int y, UINT fStyle);
#define GetTextExtentPoint32A GetTextExtentPoint32

// A context that draws on `target` (the screen or any 32-bit surface) for the window layer.
// `origin` is the surface position of the context's device point (0, 0): a window's client
// (or window) corner. `clip` is the part of the surface the context may touch (it is cut to
// the surface too). Both are in layout pixels, which `scale` maps to the surface's pixels. The
// surface must outlive the context.
HDC AfxCreateSurfaceDC(CSurface* target, CPoint origin, const CRect& clip,
                       const CDeviceScale& scale = CDeviceScale());
// The surface position of device point (0, 0) and the context's clip, in layout pixels, for
// the window layer's own bookkeeping (validating what was painted).
CPoint AfxGetSurfaceOrigin(HDC hdc);
CRect AfxGetSurfaceClip(HDC hdc);

class CDC : public CObject {
public:
    CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    // Deletes the attached context, as the framework's own does; Detach first to keep it.
    ~CDC() override;

    HDC m_hDC = nullptr;

    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }
    BOOL Attach(HDC hdc);
    HDC Detach();
    // A wrapper that the framework keeps for that context until the context is deleted.
    static CDC* FromHandle(HDC hdc);

    BOOL CreateCompatibleDC(CDC* pDC);
    BOOL DeleteDC();

    // Selection returns the previously selected object (a framework-kept wrapper), or null.
    CPen* SelectObject(CPen* pPen);
    CBrush* SelectObject(CBrush* pBrush);
    CFont* SelectObject(CFont* pFont);
    CBitmap* SelectObject(CBitmap* pBitmap);
    CGdiObject* SelectObject(CGdiObject* pObject);
    HGDIOBJ SelectObject(HGDIOBJ h);
    CGdiObject* SelectStockObject(int index);

    // The state stack: SaveDC returns the new depth (0 on failure); RestoreDC takes a depth or
    // a negative count relative to the top (−1 = the last saved state).
    int SaveDC();
    BOOL RestoreDC(int nSavedDC);

    CPoint SetWindowOrg(int x, int y);
    CPoint SetWindowOrg(POINT pt) { return SetWindowOrg(pt.x, pt.y); }
    CPoint GetWindowOrg() const;

    // Region kinds returned by the clip calls.
    int IntersectClipRect(int l, int t, int r, int b);
    int IntersectClipRect(LPCRECT rect);
    int GetClipBox(LPRECT rect) const;

    COLORREF SetTextColor(COLORREF color);
    COLORREF GetTextColor() const;
    COLORREF SetBkColor(COLORREF color);
    COLORREF GetBkColor() const;
    int SetBkMode(int mode);
    int GetBkMode() const;
    int SetStretchBltMode(int mode);
    int GetStretchBltMode() const;
    CPoint SetBrushOrg(int x, int y);
    CPoint SetBrushOrg(POINT pt) { return SetBrushOrg(pt.x, pt.y); }

    CPen* GetCurrentPen() const;
    CBrush* GetCurrentBrush() const;
    CFont* GetCurrentFont() const;
    CBitmap* GetCurrentBitmap() const;

    // Fills and frames take rectangles without their right and bottom edges.
    void FillRect(LPCRECT rect, CBrush* pBrush);
    void FrameRect(LPCRECT rect, CBrush* pBrush);
    void FillSolidRect(LPCRECT rect, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    // The selected brush over the rectangle with PATCOPY, DSTINVERT, BLACKNESS, WHITENESS,
    // ROP_DEST_AND_PATTERN or ROP_DEST_OR_PATTERN.
    BOOL PatBlt(int x, int y, int width, int height, DWORD rop);

    // Lines with the selected pen, one pixel wide; LineTo leaves out its end point.
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT pt) { return MoveTo(pt.x, pt.y); }
    BOOL LineTo(int x, int y);
    BOOL LineTo(POINT pt) { return LineTo(pt.x, pt.y); }
    CPoint GetCurrentPosition() const;

    COLORREF SetPixel(int x, int y, COLORREF color);
    COLORREF GetPixel(int x, int y) const;

    // Copies from the bitmap selected into pSrcDC (SRCCOPY and the other source rops used).
    BOOL BitBlt(int x, int y, int width, int height, CDC* pSrcDC, int xSrc, int ySrc, DWORD rop);
    // HALFTONE averages the source area under each target pixel; other modes take the nearest.
    BOOL StretchBlt(int x, int y, int width, int height, CDC* pSrcDC, int xSrc, int ySrc,
                    int srcWidth, int srcHeight, DWORD rop);

    // Text, in the selected font (implemented with the font engine, DCText.cpp).
    BOOL TextOut(int x, int y, const CString& str);
    BOOL TextOut(int x, int y, LPCSTR text, int length);
    CSize GetTextExtent(const CString& str) const;
    CSize GetTextExtent(LPCSTR text, int length) const;
    // Returns the height of the text drawn (or measured with DT_CALCRECT).
    int DrawText(const CString& str, LPRECT rect, UINT format);
    int DrawText(LPCSTR text, int length, LPRECT rect, UINT format);
    // The lines DrawText draws for the text in a rectangle nWidth wide with `format` (its
    // DT_WORDBREAK, DT_SINGLELINE, DT_NOPREFIX and DT_EXPANDTABS), in the selected font;
    // returns the height of one line. Each line drawn on its own, DT_SINGLELINE | DT_NOPREFIX,
    // one line height below the one before, shows what DrawText shows for the whole text with
    // DT_NOPREFIX: a control that keeps the lines paints only those that show.
    int GetTextLines(LPCSTR text, int length, int nWidth, UINT format,
                     std::vector<TEXT_LINE>& lines);
    BOOL GetTextMetrics(TEXTMETRIC* metrics) const;
};

// Region kinds (0 is an error).
#define NULLREGION 1
#define SIMPLEREGION 2
#define COMPLEXREGION 3
