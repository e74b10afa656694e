#pragma once

#include "framework/File.h"

#include <string>
#include <utility>
#include <vector>

class CSettingsStore;

// Why the settings file could not be opened.
enum class SettingsOpen {
    opened,
    held,          // another program has it open; a later attempt may succeed
    accessDenied,  // the file is read-only or its access is denied
    notAFile,      // a directory stands in its place
    failed,        // any other reason; OpenError() tells the system's code
};

// The three outcomes of reading a key.
enum class SettingsRead {
    found,      // the value was set from the key's record
    absent,     // the file was read to its end without the key's record
    notOpened,  // the file could not be opened; nothing is known
};

// The outcomes of writing several keys at once. Nothing is written unless
// every key can be.
enum class SettingsWrite {
    written,
    damagedEnd,  // a new key would land after a partial record at the end
    notOpened,
};

// Several key operations on the settings file under one exclusive open, so
// that they see and leave one consistent file: nobody, the lock daemon
// included, can come between them. Reads and writes follow the single-key
// rules of CSettingsStore. An I/O error after the open raises
// CFileException; the file is closed when the batch goes.
class CSettingsBatch {
public:
    enum Access {
        // Creates a missing file, as every single-key operation does.
        readWrite,
        // For a reader that must never change the file (the lock daemon):
        // still opened exclusively, never created; a missing file reads as
        // an empty one.
        readOnly,
    };

    explicit CSettingsBatch(const CSettingsStore& store, Access access = readWrite);
    CSettingsBatch(const CSettingsBatch&) = delete;
    CSettingsBatch& operator=(const CSettingsBatch&) = delete;

    SettingsOpen Opened() const { return m_opened; }
    // The system's error code of the failed open; 0 after a success.
    DWORD OpenError() const { return m_openError; }

    SettingsRead ReadString(const std::string& key, std::string& value);
    // As ReadString, the text converted by the atoi rule.
    SettingsRead ReadInt(const std::string& key, int& value);

    // Writes every key or none (a key or value too long for its field is a
    // caller's fault and raises CInvalidArgException): checks first that each key either has a
    // record or can take a free record or be appended. The keys are written
    // where one single-key write after the other would put them; the new records
    // at the end go in one write, before any record is overwritten, so that a
    // full disk leaves the file as it was.
    SettingsWrite WriteAll(const std::vector<std::pair<std::string, std::string>>& records);

    // The bytes after the last whole record; 0 when the file ends in a whole
    // record or was not opened.
    ULONGLONG DamagedEndLength();
    // Copies the bytes after the last whole record into a new file beside the
    // settings file ("Vellmoran.bin.damaged", or with a number after it when
    // that exists), then cuts the settings file back to its whole records.
    // Returns the copy's path; empty, and the file unchanged, when the copy
    // could not be made.
    std::string CutDamagedEnd();

private:
    CFile m_file;
    std::string m_path;
    Access m_access;
    SettingsOpen m_opened = SettingsOpen::failed;
    DWORD m_openError = 0;
    // A read-only batch found no file: every key is absent.
    bool m_missing = false;
};
