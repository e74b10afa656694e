#include "settings/SettingsBatch.h"

#include "framework/InvalidArgException.h"
#include "settings/SecureWipe.h"
#include "settings/SettingsRecord.h"
#include "settings/SettingsStore.h"

#include <cstdlib>
#include <map>
#include <memory>

namespace {
const ULONGLONG kRecordSize = CSettingsRecord::kSize;

// Exclusive in both modes: the reader must never see a record half written,
// and the writer must never have a reader between two of its records.
const UINT kReadWriteFlags = CFile::modeReadWrite | CFile::shareExclusive | CFile::modeCreate | CFile::modeNoTruncate;
const UINT kReadOnlyFlags = CFile::modeRead | CFile::shareExclusive;

SettingsOpen OpenFailure(const std::string& path, DWORD error)
{
    DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesA(path.c_str());
    bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return SettingsOpen::notAFile;
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
        return SettingsOpen::held;
    if (error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT ||
        (exists && (attributes & FILE_ATTRIBUTE_READONLY)))
        return SettingsOpen::accessDenied;
    return SettingsOpen::failed;
}

// A new file for the copy, never one that exists: an earlier copy holds
// bytes that are nowhere else.
HANDLE CreateCopyBeside(const std::string& path, std::string& copyPath)
{
    for (int number = 1; number < 1000; ++number) {
        copyPath = path + ".damaged" + (number > 1 ? "." + std::to_string(number) : "");
        HANDLE copy = ::CreateFileA(copyPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (copy != INVALID_HANDLE_VALUE)
            return copy;
        DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            break;
    }
    copyPath.clear();
    return INVALID_HANDLE_VALUE;
}
}  // namespace

CSettingsBatch::CSettingsBatch(const CSettingsStore& store, Access access)
    : m_path(store.Path()), m_access(access)
{
    // A read-only file is never written, whoever runs this: Windows refuses
    // it even to administrators, and so does this check where a system
    // would let a privileged user through (Wine run by root does).
    DWORD attributes = ::GetFileAttributesA(m_path.c_str());
    if (access == readWrite && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
        !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        m_openError = ERROR_ACCESS_DENIED;
        m_opened = SettingsOpen::accessDenied;
        return;
    }
    if (!m_path.empty() && m_file.Open(m_path, access == readOnly ? kReadOnlyFlags : kReadWriteFlags)) {
        m_opened = SettingsOpen::opened;
        return;
    }
    m_openError = m_path.empty() ? ERROR_FILENAME_EXCED_RANGE : ::GetLastError();
    if (access == readOnly && m_openError == ERROR_FILE_NOT_FOUND) {
        m_opened = SettingsOpen::opened;
        m_missing = true;
        return;
    }
    m_opened = OpenFailure(m_path, m_openError);
}

SettingsRead CSettingsBatch::ReadString(const std::string& key, std::string& value)
{
    if (m_opened != SettingsOpen::opened)
        return SettingsRead::notOpened;
    CSettingsRecord record;
    if (m_missing || !FindRecord(m_file, key, record))
        return SettingsRead::absent;
    value = record.Value();
    return SettingsRead::found;
}

SettingsRead CSettingsBatch::ReadInt(const std::string& key, int& value)
{
    std::string text;
    SettingsRead result = ReadString(key, text);
    if (result == SettingsRead::found)
        value = std::atoi(text.c_str());
    return result;
}

SettingsWrite CSettingsBatch::WriteAll(const std::vector<std::pair<std::string, std::string>>& records)
{
    if (!m_file.IsOpen() || m_access == readOnly)
        return SettingsWrite::notOpened;

    // The keys of the whole records as they stand, then as the writes will
    // leave them.
    std::vector<std::string> keys;
    CSettingsRecord record;
    m_file.Seek(0, CFile::begin);
    UINT read;
    while ((read = m_file.Read(record.Bytes(), static_cast<UINT>(kRecordSize))) == kRecordSize)
        keys.push_back(record.Key());
    bool partialEnd = read != 0;
    const size_t wholeRecords = keys.size();

    std::map<size_t, std::unique_ptr<CSettingsRecord>> planned;
    for (const auto& keyAndValue : records) {
        auto newRecord = std::make_unique<CSettingsRecord>();
        if (!newRecord->Assign(keyAndValue.first, keyAndValue.second))
            throw CInvalidArgException("A setting does not fit its record: " + keyAndValue.first.substr(0, 127));
        std::string key = newRecord->Key();
        size_t index = 0;
        while (index < keys.size() && keys[index] != key)
            ++index;
        if (index == keys.size()) {
            if (partialEnd)
                return SettingsWrite::damagedEnd;
            index = 0;
            while (index < keys.size() && !keys[index].empty())
                ++index;
            if (index == keys.size())
                keys.push_back(key);
        }
        keys[index] = key;
        planned[index] = std::move(newRecord);
    }

    // The file grows first and in one write: should the disk be full,
    // AppendRecords gives the file its old length back and no record has
    // been touched yet.
    std::string appended;
    for (auto it = planned.lower_bound(wholeRecords); it != planned.end(); ++it)
        appended.append(it->second->Bytes(), kRecordSize);
    if (!appended.empty()) {
        try {
            AppendRecords(m_file, appended.data(), appended.size());
        } catch (...) {
            SecureWipe(appended);
            throw;
        }
        SecureWipe(appended);
    }
    for (auto it = planned.begin(); it != planned.end() && it->first < wholeRecords; ++it) {
        m_file.Seek(static_cast<LONGLONG>(it->first * kRecordSize), CFile::begin);
        m_file.Write(it->second->Bytes(), static_cast<UINT>(kRecordSize));
    }
    return SettingsWrite::written;
}

ULONGLONG CSettingsBatch::DamagedEndLength()
{
    if (!m_file.IsOpen())
        return 0;
    return m_file.SeekToEnd() % kRecordSize;
}

std::string CSettingsBatch::CutDamagedEnd()
{
    ULONGLONG damaged = DamagedEndLength();
    if (damaged == 0 || m_access == readOnly)
        return std::string();
    ULONGLONG whole = m_file.SeekToEnd() - damaged;
    std::string bytes(static_cast<size_t>(damaged), '\0');
    m_file.Seek(static_cast<LONGLONG>(whole), CFile::begin);
    if (m_file.Read(&bytes[0], static_cast<UINT>(damaged)) != damaged)
        return std::string();

    // The bytes must be safe on disk before the only other copy goes.
    std::string copyPath;
    HANDLE copy = CreateCopyBeside(m_path, copyPath);
    if (copy == INVALID_HANDLE_VALUE)
        return std::string();
    DWORD written = 0;
    bool kept = ::WriteFile(copy, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                written == bytes.size() && ::FlushFileBuffers(copy);
    kept = ::CloseHandle(copy) && kept;
    if (!kept) {
        ::DeleteFileA(copyPath.c_str());
        return std::string();
    }
    m_file.SetLength(whole);
    return copyPath;
}
