#include "support/TempFolderVariable.h"

#include <cstdlib>

bool GetTempFolderVariable(std::string& value) {
    const char* old = std::getenv("TMPDIR");
    if (old)
        value = old;
    return old != nullptr;
}

void SetTempFolderVariable(const std::string& value) {
    ::setenv("TMPDIR", value.c_str(), 1);
}

void ClearTempFolderVariable() {
    ::unsetenv("TMPDIR");
}
