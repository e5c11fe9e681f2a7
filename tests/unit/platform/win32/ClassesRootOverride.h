// HKEY_CLASSES_ROOT of this process pointed at a scratch key for the time of a test, so that a
// test can register its own web browser without touching the machine's.
#pragma once

#include <string>

class CClassesRootOverride {
public:
    CClassesRootOverride();
    ~CClassesRootOverride();
    CClassesRootOverride(const CClassesRootOverride&) = delete;
    CClassesRootOverride& operator=(const CClassesRootOverride&) = delete;
    // Did the system take the override? Without it nothing is written.
    bool IsActive() const { return m_bActive; }
    // The default value of http\shell\open\command under the scratch key, expandable
    // (REG_EXPAND_SZ, with %SystemRoot% and the like) as installers often write it.
    bool SetHttpCommand(const std::string& commandLine);

private:
    void* m_hScratch = nullptr;
    bool m_bActive = false;
};
