#include "res/ProgramResources.h"

#include "res/EmbeddedFiles.h"
#include "res/ResourceIds.h"
#include "res/ResourceTables.h"

namespace {
struct FILE_RESOURCE {
    LPCSTR type;
    UINT id;
    LPCSTR fileName;
};

const FILE_RESOURCE g_fileResources[] = {
    {RT_BITMAP, IDB_MAKER_LOGO, "maker_logo.bmp"},
    {RT_BITMAP, IDB_ABOUT_ART, "about.bmp"},
    {RT_BITMAP, IDB_PARTNER_LOGO, "partner_logo.bmp"},
    {RT_GROUP_CURSOR, IDC_HAND_CURSOR, "hand.cur"},
    {RT_GROUP_ICON, IDI_APP_ICON, "slideshow.ico"},
    {RT_XML_NAME, IDR_PARTNER_LAYOUT, "partner_layout.xml"},
};

std::vector<RESOURCE_ENTRY> BuildTable() {
    std::vector<RESOURCE_ENTRY> table;
    AddStringTable(table);
    AddDialogTemplates(table);
    AddVersionBlock(table);
    for (const FILE_RESOURCE& r : g_fileResources) {
        // Every file is listed in res/CMakeLists.txt, so a miss here is a build mistake; the
        // lookup then simply finds nothing.
        if (const EMBEDDED_FILE* file = FindEmbeddedFile(r.fileName))
            table.push_back({r.type, r.id, file->data, file->size});
    }
    return table;
}
} // namespace

void RegisterProgramResources() {
    static const std::vector<RESOURCE_ENTRY> table = BuildTable();
    AfxSetResourceTable(table.data(), (int)table.size());
}
