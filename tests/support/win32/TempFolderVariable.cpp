#include "support/TempFolderVariable.h"

#include <cstdlib>

// GetTempPathW reads TMP first.
bool GetTempFolderVariable(std::string& value) {
    const char* old = std::getenv("TMP");
    if (old)
        value = old;
    return old != nullptr;
}

void SetTempFolderVariable(const std::string& value) {
    _putenv_s("TMP", value.c_str());
}

void ClearTempFolderVariable() {
    _putenv_s("TMP", "");
}
