// What the pages ask of the window that holds them: the collection it has open. The main window
// implements it; a page finds it through its parent window.
#pragma once

#include "data/CollectionFile.h"
#include "framework/window/Wnd.h"

class CCollectionOwner {
public:
    virtual ~CCollectionOwner() = default;
    virtual CCollectionFile& GetCollection() = 0;

    // The collection of pWnd's owner, or null when the window is not held by one.
    static CCollectionFile* Of(CWnd* pWnd) {
        CCollectionOwner* pOwner =
            pWnd != nullptr ? dynamic_cast<CCollectionOwner*>(pWnd) : nullptr;
        return pOwner != nullptr ? &pOwner->GetCollection() : nullptr;
    }
};
