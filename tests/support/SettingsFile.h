#pragma once

#include <windows.h>

#include <string>

// The settings file Vellmoran.bin beside the running test executable (and
// beside the daemon stand-in), handled byte for byte, without the store.

std::string ExecutableDirectory();
std::string SettingsFilePath();

// A record as it lies on disk: 128 bytes of key, 2048 bytes of value, each
// the text followed by zeros.
std::string SettingsRecordBytes(const std::string& key, const std::string& value);

bool SettingsFileExists();
void DeleteSettingsFile();
// The whole file; empty when it is missing.
std::string ReadSettingsFile();
void WriteSettingsFile(const std::string& bytes);

// Holds the file open with share mode 0, as the lock daemon would, until it
// goes out of scope. The file is created if it is missing.
class HeldSettingsFile {
public:
    HeldSettingsFile();
    ~HeldSettingsFile();
    HeldSettingsFile(const HeldSettingsFile&) = delete;
    HeldSettingsFile& operator=(const HeldSettingsFile&) = delete;

    bool Held() const { return m_hFile != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_hFile;
};
