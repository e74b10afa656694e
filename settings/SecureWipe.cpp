#include "settings/SecureWipe.h"

#include <windows.h>

void SecureWipe(void* buffer, size_t size)
{
    ::SecureZeroMemory(buffer, size);
}

void SecureWipe(std::string& text)
{
    // The whole capacity: an earlier, longer content may still lie behind
    // the current end.
    text.resize(text.capacity());
    SecureWipe(&text[0], text.size());
    text.clear();
}

CWipeOnExit::~CWipeOnExit()
{
    for (std::string* text : m_texts)
        SecureWipe(*text);
}
