#include "settings/SettingsStore.h"

#include "framework/File.h"
#include "framework/WinApp.h"
#include "settings/SettingsPath.h"
#include "settings/SecureWipe.h"
#include "settings/SettingsRecord.h"

#include <cstdlib>

namespace {
// Shared with nobody while open: the lock daemon reads the same file and
// must never see a record half written.
const UINT kOpenFlags = CFile::modeReadWrite | CFile::shareExclusive | CFile::modeCreate | CFile::modeNoTruncate;
}  // namespace

CSettingsStore::CSettingsStore(std::string fileName)
{
    // A path that does not fit the system's buffer leaves the path empty: a
    // cut-short path could name some other file.
    std::string modulePath = AfxGetModulePath();
    if (modulePath.empty())
        return;
    m_csPath = SettingsDirectory(modulePath) + "\\" + fileName;
}

int CSettingsStore::ReadString(std::string key, std::string& value)
{
    CFile file;
    if (m_csPath.empty() || !file.Open(m_csPath, kOpenFlags))
        return 0;
    CSettingsRecord record;
    bool found = FindRecord(file, key, record);
    file.Close();
    if (found)
        value = record.Value();
    return found ? 1 : 0;
}

int CSettingsStore::WriteString(std::string key, std::string value)
{
    CSettingsRecord newRecord;
    if (!newRecord.Assign(key, value))
        return 0;
    // The value may be the password code; the record keeps the only copy.
    SecureWipe(value);
    CFile file;
    if (m_csPath.empty() || !file.Open(m_csPath, kOpenFlags))
        return 0;
    bool written = PutRecord(file, newRecord);
    file.Close();
    return written ? 1 : 0;
}

int CSettingsStore::ReadInt(std::string key, int& value)
{
    std::string text;
    if (!ReadString(key, text))
        return 0;
    value = std::atoi(text.c_str());
    return 1;
}

int CSettingsStore::WriteInt(std::string key, int value)
{
    return WriteString(key, SettingsIntText(value));
}
