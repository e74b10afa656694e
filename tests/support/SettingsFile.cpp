#include "tests/support/SettingsFile.h"

#include <fstream>
#include <iterator>

namespace {
const size_t kKeyWidth = 128;
const size_t kRecordSize = 2176;
}  // namespace

std::string ExecutableDirectory()
{
    char path[MAX_PATH];
    std::string module(path, ::GetModuleFileNameA(nullptr, path, MAX_PATH));
    return module.substr(0, module.rfind('\\'));
}

std::string SettingsFilePath()
{
    return ExecutableDirectory() + "\\Vellmoran.bin";
}

std::string SettingsRecordBytes(const std::string& key, const std::string& value)
{
    std::string record(kRecordSize, '\0');
    record.replace(0, key.size(), key);
    record.replace(kKeyWidth, value.size(), value);
    record.resize(kRecordSize);
    return record;
}

bool SettingsFileExists()
{
    return ::GetFileAttributesA(SettingsFilePath().c_str()) != INVALID_FILE_ATTRIBUTES;
}

void DeleteSettingsFile()
{
    ::DeleteFileA(SettingsFilePath().c_str());
}

std::string ReadSettingsFile()
{
    std::ifstream file(SettingsFilePath(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteSettingsFile(const std::string& bytes)
{
    std::ofstream file(SettingsFilePath(), std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

HeldSettingsFile::HeldSettingsFile()
    : m_hFile(::CreateFileA(SettingsFilePath().c_str(), GENERIC_READ, 0, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr))
{
}

HeldSettingsFile::~HeldSettingsFile()
{
    if (Held())
        ::CloseHandle(m_hFile);
}
