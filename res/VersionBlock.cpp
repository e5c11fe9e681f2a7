#include "res/ResourceIds.h"
#include "res/ResourceTables.h"

namespace {
const VERSION_DATA g_version = {
    {1, 1, 0, 0}, {1, 1, 0, 0}, "Tessarel Stashwell Plug-In", "Tessarel Stashwell", 0x0409, 1200,
};
} // namespace

void AddVersionBlock(std::vector<RESOURCE_ENTRY>& table) {
    table.push_back({RT_VERSION, IDR_VERSION, &g_version, (DWORD)sizeof g_version});
}
