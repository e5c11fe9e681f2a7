// The program's resources: every window loads its strings, templates, bitmaps, cursor, icon
// and the partner layout through the framework's resource lookups once this table is in place.
#pragma once

// Installs the program's table for the framework's lookups. Safe to call more than once.
void RegisterProgramResources();
