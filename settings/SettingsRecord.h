#pragma once

#include <cstddef>
#include <string>

class CFile;

// One record of the settings file as it lies on disk: a 128-byte key field
// and a 2048-byte value field, each NUL-terminated text padded with zeros.
// Its bytes are wiped when it goes: a record may hold the password code.
class CSettingsRecord {
public:
    static const size_t kKeyWidth = 128;
    static const size_t kValueWidth = 2048;
    static const size_t kSize = kKeyWidth + kValueWidth;

    CSettingsRecord();
    ~CSettingsRecord();
    CSettingsRecord(const CSettingsRecord&) = delete;
    CSettingsRecord& operator=(const CSettingsRecord&) = delete;

    // False, and the record unchanged, when the key or the value (each up to
    // its first NUL) does not leave room for the field's NUL.
    bool Assign(const std::string& key, const std::string& value);

    // A field's text ends at its first NUL, or fills the whole field when it
    // has none; it never reaches into the next field.
    std::string Key() const;
    std::string Value() const;
    bool HasKey(const std::string& key) const;
    // A record with an empty key holds no setting and may be reused.
    bool IsFree() const { return m_bytes[0] == '\0'; }

    char* Bytes() { return m_bytes; }
    const char* Bytes() const { return m_bytes; }

private:
    char m_bytes[kSize];
};

// Integers are stored as "%d" text, and read back by the atoi rule.
std::string SettingsIntText(int value);

// Adds the record at the end of the file. When the write fails or is cut
// short, the file is given back its old length before the exception leaves,
// so that no partial record is left to block every later write of a new key.
void AppendRecord(CFile& file, const CSettingsRecord& record);
// As AppendRecord, for whole records laid end to end.
void AppendRecords(CFile& file, const char* bytes, size_t size);

// Scans an open file from its start for the first whole record with the key;
// a partial record at the end is never looked at.
bool FindRecord(CFile& file, const std::string& key, CSettingsRecord& found);

// Writes the record over the first whole record with its key, else into the
// first free record, else at the end. False, and nothing written, when the
// scan reaches a partial record at the end before it finds the key: a record
// after it could never be found again by any reader.
bool PutRecord(CFile& file, const CSettingsRecord& record);
