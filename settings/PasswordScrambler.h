#pragma once

#include <string>

// Replaces a password by its code, the text stored under m_csCode: two
// lowercase hexadecimal digits per byte, shuffled by a generator seeded from
// the password itself. The same password always gives the same code; an
// empty password gives an empty code. The password's bytes are wiped.
void ScramblePassword(std::string& password);
