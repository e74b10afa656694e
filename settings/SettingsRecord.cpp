#include "settings/SettingsRecord.h"

#include "framework/File.h"
#include "settings/SecureWipe.h"

#include <cstring>

namespace {
const UINT kRecordSize = static_cast<UINT>(CSettingsRecord::kSize);

// Text up to the first NUL, as a C string would have it.
size_t TextLength(const std::string& text)
{
    return std::strlen(text.c_str());
}

std::string FieldText(const char* field, size_t width)
{
    const void* nul = std::memchr(field, '\0', width);
    return std::string(field, nul ? static_cast<const char*>(nul) - field : width);
}
}  // namespace

CSettingsRecord::CSettingsRecord()
{
    std::memset(m_bytes, 0, sizeof(m_bytes));
}

CSettingsRecord::~CSettingsRecord()
{
    SecureWipe(m_bytes, sizeof(m_bytes));
}

bool CSettingsRecord::Assign(const std::string& key, const std::string& value)
{
    size_t keyLength = TextLength(key);
    size_t valueLength = TextLength(value);
    if (keyLength >= kKeyWidth || valueLength >= kValueWidth)
        return false;
    std::memset(m_bytes, 0, sizeof(m_bytes));
    std::memcpy(m_bytes, key.data(), keyLength);
    std::memcpy(m_bytes + kKeyWidth, value.data(), valueLength);
    return true;
}

std::string CSettingsRecord::Key() const
{
    return FieldText(m_bytes, kKeyWidth);
}

std::string CSettingsRecord::Value() const
{
    return FieldText(m_bytes + kKeyWidth, kValueWidth);
}

bool CSettingsRecord::HasKey(const std::string& key) const
{
    return Key() == key.c_str();
}

void AppendRecord(CFile& file, const CSettingsRecord& record)
{
    AppendRecords(file, record.Bytes(), CSettingsRecord::kSize);
}

void AppendRecords(CFile& file, const char* bytes, size_t size)
{
    ULONGLONG length = file.SeekToEnd();
    try {
        file.Write(bytes, static_cast<UINT>(size));
    } catch (const CFileException&) {
        // The first error is the one to report; a failing repair must not
        // replace it.
        try {
            file.SetLength(length);
        } catch (const CFileException&) {
        }
        throw;
    }
}

bool FindRecord(CFile& file, const std::string& key, CSettingsRecord& found)
{
    file.Seek(0, CFile::begin);
    while (file.Read(found.Bytes(), kRecordSize) == kRecordSize) {
        if (found.HasKey(key))
            return true;
    }
    return false;
}

bool PutRecord(CFile& file, const CSettingsRecord& newRecord)
{
    file.Seek(0, CFile::begin);
    CSettingsRecord record;
    LONGLONG freeIndex = -1;
    for (LONGLONG index = 0;; ++index) {
        UINT read = file.Read(record.Bytes(), kRecordSize);
        if (read == 0)
            break;
        if (read < kRecordSize)
            return false;
        if (record.HasKey(newRecord.Key())) {
            file.Seek(index * kRecordSize, CFile::begin);
            file.Write(newRecord.Bytes(), kRecordSize);
            return true;
        }
        if (freeIndex < 0 && record.IsFree())
            freeIndex = index;
    }
    if (freeIndex >= 0) {
        file.Seek(freeIndex * kRecordSize, CFile::begin);
        file.Write(newRecord.Bytes(), kRecordSize);
    } else {
        AppendRecord(file, newRecord);
    }
    return true;
}

std::string SettingsIntText(int value)
{
    return std::to_string(value);
}
