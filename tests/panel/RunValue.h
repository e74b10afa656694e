#pragma once

#include <windows.h>

#include <string>

// Direct access to the daemon's Run value "VellmoranD", behind the panel's back.
std::string ExpectedRunData();
void StoreRunValue(DWORD type, const std::string& bytes);
bool ReadRunValue(DWORD& type, std::string& bytes);
void ForgetRunValue();
