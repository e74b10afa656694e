#include "tests/support/ImportPatch.h"

ImportPatch::ImportPatch(const std::string& dll, const std::string& function, void* replacement)
{
    auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleA(nullptr));
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    auto* descriptor = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
    for (; descriptor->Name != 0; ++descriptor) {
        if (lstrcmpiA(reinterpret_cast<char*>(base + descriptor->Name), dll.c_str()) != 0)
            continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (function == reinterpret_cast<char*>(byName->Name)) {
                m_slot = reinterpret_cast<void**>(&slots->u1.Function);
                m_original = *m_slot;
                Write(replacement);
                return;
            }
        }
    }
}

ImportPatch::~ImportPatch()
{
    if (m_slot != nullptr)
        Write(m_original);
}

void ImportPatch::Write(void* value)
{
    DWORD old = 0;
    ::VirtualProtect(m_slot, sizeof(void*), PAGE_READWRITE, &old);
    *m_slot = value;
    ::VirtualProtect(m_slot, sizeof(void*), old, &old);
}
