#pragma once

#include <string>

// Single-key operations on the settings file beside the executable, a flat
// sequence of 2176-byte records (a 128-byte key field and a 2048-byte value
// field, each NUL-terminated text). The lock daemon reads the same file.
// Every operation opens the file exclusively, scans it from the start and
// closes it again; nothing is cached. Results are 1 for success, 0 for
// failure. An I/O error after a successful open raises CFileException.
// Several keys that belong together go through one CSettingsBatch instead.
class CSettingsStore {
public:
    explicit CSettingsStore(std::string fileName);

    // 1 and the record's text if the key exists; 0 and value untouched if not.
    int ReadString(std::string key, std::string& value);
    // 1 if the record was written.
    int WriteString(std::string key, std::string value);
    // As ReadString, the text converted by the atoi rule.
    int ReadInt(std::string key, int& value);
    // WriteString of the value formatted with "%d".
    int WriteInt(std::string key, int value);

    // The settings file's full path; empty when the executable's path did
    // not fit the system's buffer.
    const std::string& Path() const { return m_csPath; }

private:
    std::string m_csPath;
};
