#pragma once

#include <initializer_list>
#include <string>
#include <vector>

// Overwrites a string's characters with zeros in a way the optimiser keeps,
// then empties it: passwords and their codes must not linger in memory.
void SecureWipe(std::string& text);
void SecureWipe(void* buffer, size_t size);

// Wipes the given strings when the scope ends, also when an exception leaves
// it.
class CWipeOnExit {
public:
    CWipeOnExit(std::initializer_list<std::string*> texts) : m_texts(texts) {}
    ~CWipeOnExit();
    CWipeOnExit(const CWipeOnExit&) = delete;
    CWipeOnExit& operator=(const CWipeOnExit&) = delete;

private:
    std::vector<std::string*> m_texts;
};
