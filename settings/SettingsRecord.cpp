#include "settings/SettingsRecord.h"

#include "framework/File.h"
#include "settings/SecureWipe.h"

#include <cstring>

namespace {
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
    ULONGLONG length = file.SeekToEnd();
    try {
        file.Write(record.Bytes(), CSettingsRecord::kSize);
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
