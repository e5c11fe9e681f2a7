// The eight texts an item record starts with, in the order the record stores them. The
// viewer's item, slideshow-pack's reader and the collection writer all walk ITEM_TEXT_FIELDS,
// so that order is written down here only.
#pragma once

#include "framework/core/String.h"

struct ITEM_TEXTS {
    CString m_strName;
    CString m_strLine1;
    CString m_strField2; // kept in the record; no window shows it
    CString m_strLine2;
    // The collection's fields, repeated on every item; only the first item's are shown.
    CString m_strComments;
    CString m_strCollectionTitle;
    CString m_strDateCreated;
    CString m_strCreatedBy;
};

struct ITEM_TEXT_FIELD {
    CString ITEM_TEXTS::*pText;
    const char* pszWhat; // how a message about a damaged record names it
};

inline constexpr ITEM_TEXT_FIELD ITEM_TEXT_FIELDS[] = {
    {&ITEM_TEXTS::m_strName, "the name"},
    {&ITEM_TEXTS::m_strLine1, "caption line 1"},
    {&ITEM_TEXTS::m_strField2, "the third text"},
    {&ITEM_TEXTS::m_strLine2, "caption line 2"},
    {&ITEM_TEXTS::m_strComments, "the comments"},
    {&ITEM_TEXTS::m_strCollectionTitle, "the collection title"},
    {&ITEM_TEXTS::m_strDateCreated, "the creation date"},
    {&ITEM_TEXTS::m_strCreatedBy, "the creator"},
};
