#include "res/ResourceIds.h"
#include "res/ResourceTables.h"

namespace {
// The platform's style bits as the templates store them.
constexpr DWORD STYLE_POPUP = 0x80000000;
constexpr DWORD STYLE_CHILD = 0x40000000;
constexpr DWORD STYLE_VISIBLE = 0x10000000;
constexpr DWORD STYLE_CLIPCHILDREN = 0x02000000;
constexpr DWORD STYLE_GROUP = 0x00020000;
constexpr DWORD STYLE_SETFONT = 0x00000040; // DS_SETFONT
constexpr DWORD STYLE_STATIC_LEFT = 0x00000000;

constexpr LPCSTR TEMPLATE_FONT = "MS Sans Serif";
constexpr WORD TEMPLATE_POINTS = 8;
constexpr DWORD LABEL_STYLE = STYLE_CHILD | STYLE_VISIBLE | STYLE_GROUP | STYLE_STATIC_LEFT;

const DLGITEMTEMPLATE_DATA g_commentsPageItems[] = {
    {LABEL_STYLE, 20, 22, 67, 8, IDC_CREATED_BY_LABEL, "Static", "created by :"},
    {LABEL_STYLE, 20, 34, 92, 8, IDC_CREATED_BY, "Static", "Static"},
    {LABEL_STYLE, 20, 55, 45, 8, IDC_DATE_CREATED_LABEL, "Static", "date created :"},
    {LABEL_STYLE, 20, 66, 113, 8, IDC_DATE_CREATED, "Static", "Static"},
};

struct TEMPLATE_RESOURCE {
    UINT id;
    DLGTEMPLATE_DATA data;
};

const TEMPLATE_RESOURCE g_templates[] = {
    {IDD_COMMENTS_PAGE,
     {STYLE_SETFONT | STYLE_CHILD, 0, 0, 548, 463, TEMPLATE_FONT, TEMPLATE_POINTS,
      g_commentsPageItems, (int)(sizeof g_commentsPageItems / sizeof g_commentsPageItems[0])}},
    {IDD_VIEWER,
     {STYLE_SETFONT | STYLE_POPUP | STYLE_CLIPCHILDREN, 0, 0, 450, 279, TEMPLATE_FONT,
      TEMPLATE_POINTS, nullptr, 0}},
    {IDD_THUMBNAILS_PAGE,
     {STYLE_SETFONT | STYLE_CHILD | STYLE_CLIPCHILDREN, 0, 0, 370, 188, TEMPLATE_FONT,
      TEMPLATE_POINTS, nullptr, 0}},
    {IDD_THUMBNAIL_CELL,
     {STYLE_SETFONT | STYLE_CHILD, 0, 0, 236, 107, TEMPLATE_FONT, TEMPLATE_POINTS, nullptr, 0}},
    {IDD_ABOUT_BOX,
     {STYLE_SETFONT | STYLE_POPUP, 0, 0, 109, 189, TEMPLATE_FONT, TEMPLATE_POINTS, nullptr, 0}},
};
} // namespace

void AddDialogTemplates(std::vector<RESOURCE_ENTRY>& table) {
    for (const TEMPLATE_RESOURCE& t : g_templates)
        table.push_back({RT_DIALOG, t.id, &t.data, (DWORD)sizeof t.data});
}
