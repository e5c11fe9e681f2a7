// The environment variable by which the platform's temporary folder is chosen: $TMPDIR on
// Linux, %TMP% on Windows. Tests point it at a folder of their own.
#pragma once

#include <string>

// FALSE when it is not set.
bool GetTempFolderVariable(std::string& value);
void SetTempFolderVariable(const std::string& value);
void ClearTempFolderVariable();
