#pragma once

#include <windows.h>

#include <string>

// Replaces, while it lives, a function that this executable imports from a
// system DLL, so that a test can fake what the system would do elsewhere
// (Wine run as root allows what Windows refuses a standard user). The
// product code linked into the test calls the replacement.
class ImportPatch {
public:
    ImportPatch(const std::string& dll, const std::string& function, void* replacement);
    ~ImportPatch();
    ImportPatch(const ImportPatch&) = delete;

    bool Patched() const { return m_slot != nullptr; }
    // The system's own function.
    template <class F> F Original() const { return reinterpret_cast<F>(m_original); }

private:
    void Write(void* value);

    void** m_slot = nullptr;
    void* m_original = nullptr;
};
