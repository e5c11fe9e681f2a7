// The borderless About window: fixed artwork with the collection's version line over it and
// two clickable bands, placed by the partner layout, that open the maker's and the partner's
// web addresses. While shown it holds the mouse, so the first click anywhere closes it.
#pragma once

#include "framework/gdi/GdiObject.h"
#include "framework/window/Dialog.h"

// What the box asks of its owner: the collection's header text, shown as the version line. The
// owner (the main window) implements it; the box finds it through its owner window.
class CAboutBoxOwner {
public:
    virtual ~CAboutBoxOwner() = default;
    virtual CString GetCollectionHeader() const = 0;
};

class CAboutBox : public CDialog {
public:
    // A clickable band: the client points strictly right of nLeft, strictly between nTop and
    // nBottom and left of the client's right edge.
    struct CArea {
        int nLeft = 0;
        int nTop = 0;
        int nBottom = 0;
        BOOL Contains(CPoint point, int cxClient) const {
            return nLeft < point.x && point.x < cxClient && nTop < point.y && point.y < nBottom;
        }
    };

    CAboutBox();
    ~CAboutBox() override;

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    const CArea& GetProductArea() const { return m_areaProduct; }
    const CArea& GetPartnerArea() const { return m_areaPartner; }

protected:
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) override;
    void OnPaint() override;
    void OnShowWindow(BOOL bShow, UINT nStatus) override;
    void OnMouseMove(UINT nFlags, CPoint point) override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;

private:
    BOOL IsInArea(CPoint point) const;
    CString FormatVersionLine() const;
    void Close();

    CBrush m_brBack;
    CBitmap m_bmpArt;
    CFont m_fontVersion;
    CArea m_areaProduct;
    CArea m_areaPartner;
};
