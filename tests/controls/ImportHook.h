#pragma once

#include <windows.h>

// Swaps one entry of this executable's import address table for the life of
// the object, so that a test can watch the calls that our own code makes to
// a system function (the system's DLLs keep calling the original).
class ImportHook {
public:
    ImportHook(const char* dll, const char* function, void* replacement);
    ~ImportHook();
    ImportHook(const ImportHook&) = delete;
    ImportHook& operator=(const ImportHook&) = delete;

    bool Installed() const { return m_slot != nullptr; }
    void* Original() const { return m_original; }

private:
    void** m_slot = nullptr;
    void* m_original = nullptr;
};
