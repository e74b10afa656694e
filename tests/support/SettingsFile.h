#pragma once

#include "settings/ChangePassword.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// The settings file Vellmoran.bin beside the running test executable (and
// beside the daemon stand-in), handled byte for byte, without the store.

std::string ExecutableDirectory();
std::string SettingsFilePath();

// A record as it lies on disk: 128 bytes of key, 2048 bytes of value, each
// the text followed by zeros.
std::string SettingsRecordBytes(const std::string& key, const std::string& value);

bool SettingsFileExists();
// The suffix names a file beside it, such as the copy of a damaged end.
void DeleteSettingsFile(const std::string& suffix = "");
// The whole file; empty when it is missing.
std::string ReadSettingsFile(const std::string& suffix = "");
void WriteSettingsFile(const std::string& bytes);

// Holds the file open with share mode 0, as the lock daemon would, until it
// goes out of scope. The file is created if it is missing.
class HeldSettingsFile {
public:
    HeldSettingsFile()
        : m_hFile(::CreateFileA(SettingsFilePath().c_str(), GENERIC_READ, 0, nullptr, OPEN_ALWAYS,
                                0, nullptr))
    {
    }
    ~HeldSettingsFile()
    {
        if (Held())
            ::CloseHandle(m_hFile);
    }
    HeldSettingsFile(const HeldSettingsFile&) = delete;
    HeldSettingsFile& operator=(const HeldSettingsFile&) = delete;

    bool Held() const { return m_hFile != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_hFile;
};

// Runs the change-password flow (or another runner of its dialog), types the
// three fields key by key and ends the dialog with the command, perhaps while
// another opener holds the file. Returns the texts of the message boxes shown,
// each checked to have a single OK button and the stop icon (information for
// a success).
std::string RunChangePassword(std::vector<std::string> typed, int command = IDOK, bool held = false,
                              const std::function<void()>& run = RunChangePasswordFlow);
