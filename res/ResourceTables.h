// The parts of the program's resource table, each kept in the file that holds its data.
#pragma once

#include <vector>

#include "framework/system/Resources.h"

void AddStringTable(std::vector<RESOURCE_ENTRY>& table);
void AddDialogTemplates(std::vector<RESOURCE_ENTRY>& table);
void AddVersionBlock(std::vector<RESOURCE_ENTRY>& table);
