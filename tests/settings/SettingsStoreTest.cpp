// The store against the exact bytes of the file that the lock daemon reads.
#include "framework/File.h"
#include "settings/SettingsBatch.h"
#include "settings/SettingsRecord.h"
#include "settings/SettingsStore.h"
#include "tests/support/ImportPatch.h"
#include "tests/support/SettingsFile.h"

#include <gtest/gtest.h>

namespace {
struct SettingsStoreTest : ::testing::Test {
    void SetUp() override { DeleteSettingsFile(); }
    void TearDown() override { DeleteSettingsFile(); }
    CSettingsStore m_store{"Vellmoran.bin"};
};
std::string R(const std::string& key, const std::string& value)
{
    return SettingsRecordBytes(key, value);
}
}  // namespace

TEST_F(SettingsStoreTest, RecordLayoutAndIntegers)
{
    ASSERT_EQ(1, m_store.WriteInt("m_nDelay", 5));
    EXPECT_EQ("m_nDelay" + std::string(120, '\0') + "5" + std::string(2047, '\0'),
              ReadSettingsFile());
    int value = 42;
    for (auto c : {std::pair("12abc", 12), {"abc", 0}, {"  -7", -7}, {"+3", 3}, {"010", 10}}) {
        WriteSettingsFile(R("m_nDelay", c.first));
        EXPECT_TRUE(m_store.ReadInt("m_nDelay", value) == 1 && value == c.second)
            << c.first << " read as " << value;
    }
}

// A key is found by its exact text in whole records only; a write goes over
// the key's record, else into the first free one, and never past a partial
// record, which no reader could see beyond.
TEST_F(SettingsStoreTest, Records)
{
    const std::string a = R("A", "1"), free = R("", "old") + R(std::string(1, '\0') + "x", "y");
    const std::string tail = R("m_nDelay", "7").substr(0, 200);
    WriteSettingsFile(a + free + tail);
    std::string value = "untouched";
    EXPECT_EQ(0, m_store.ReadString("m_nDelay", value) + m_store.WriteString("m_nDelay", "8"));
    EXPECT_EQ(a + free + tail, ReadSettingsFile());
    EXPECT_TRUE(m_store.WriteString("A", "22") && R("A", "22") + free + tail == ReadSettingsFile());
    WriteSettingsFile(a + free);
    EXPECT_TRUE(m_store.ReadString("a", value) == 0 && value == "untouched")
        << "a key differing in case was found";
    const std::string key(127, 'k'), text(2047, 'v');  // the longest that leave room for the NUL
    EXPECT_EQ(3, m_store.WriteString("a", "2") + m_store.WriteString("B", "3")
                     + m_store.WriteString(key, text));
    EXPECT_EQ(0, m_store.WriteString(key + 'k', "") + m_store.WriteString("C", text + 'v'));
    EXPECT_EQ(a + R("a", "2") + R("B", "3") + R(key, text), ReadSettingsFile());
}

// Nobody, the lock daemon included, may open the file while the store has it
// open, not even an opener that shares everything.
TEST_F(SettingsStoreTest, ExclusiveOpen)
{
    WriteSettingsFile(R("m_nDelay", "5"));
    for (auto access : {CSettingsBatch::readWrite, CSettingsBatch::readOnly}) {
        CSettingsBatch batch(m_store, access);
        HANDLE other = ::CreateFileA(SettingsFilePath().c_str(), GENERIC_READ, 7, nullptr,
                                     OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(ERROR_SHARING_VIOLATION, other == INVALID_HANDLE_VALUE ? ::GetLastError() : 0)
            << access;
        ::CloseHandle(other);
    }
}

// A write that the system takes only in part, as on a full disk, is a failure
// and never a save (here a pipe with room for less than one record), and an
// append cut short leaves no partial record to block every later new key.
TEST_F(SettingsStoreTest, WriteCutShortRaises)
{
    const char name[] = "\\\\.\\pipe\\VellmoranShortWrite";
    HANDLE reader =
        ::CreateNamedPipeA(name, PIPE_ACCESS_INBOUND, PIPE_NOWAIT, 1, 0, 1000, 0, nullptr);
    struct PipeFile : CFile {
        void NoWait()
        {
            DWORD mode = PIPE_NOWAIT;
            ::SetNamedPipeHandleState(m_hFile, &mode, nullptr, nullptr);
        }
    } piped;
    ASSERT_TRUE(reader != INVALID_HANDLE_VALUE && piped.Open(name, CFile::modeWrite));
    piped.NoWait();
    const std::string record = R("m_csCode", "298e2823f33e");
    std::string what = "nothing raised";
    try {
        piped.Write(record.data(), 2176);
    } catch (const CFileException& e) {
        what = e.what();
    }
    EXPECT_NE(std::string::npos, what.find(name)) << what;
    piped.Close();
    ::CloseHandle(reader);

    struct DiskFullFile : CFile {  // takes 1000 bytes, then fails as a full disk does
        void Write(const void* buffer, UINT) override
        {
            CFile::Write(buffer, 1000);
            Raise("write", ERROR_DISK_FULL);
        }
    } file;
    WriteSettingsFile(R("m_nDelay", "5"));
    CSettingsRecord code;
    ASSERT_TRUE(code.Assign("m_csCode", "298e2823f33e")
                && file.Open(SettingsFilePath(), CFile::modeReadWrite));
    try {
        AppendRecord(file, code);
        what = "nothing raised";
    } catch (const CFileException& e) {
        what = e.what();
    }
    EXPECT_NE(std::string::npos, what.find(SettingsFilePath())) << what;
    file.Close();
    EXPECT_EQ(R("m_nDelay", "5"), ReadSettingsFile());
}

namespace {
ImportPatch* g_writeFile = nullptr;

// A disk with no room left: a write that would make the file longer fails
// and writes nothing; one within the file's length goes through.
BOOL WINAPI FullDiskWriteFile(HANDLE file, LPCVOID buffer, DWORD size, LPDWORD written,
                              LPOVERLAPPED overlapped)
{
    LARGE_INTEGER length = {}, at = {}, none = {};
    if (::GetFileSizeEx(file, &length) && ::SetFilePointerEx(file, none, &at, FILE_CURRENT)
        && at.QuadPart + size > length.QuadPart) {
        *written = 0;
        ::SetLastError(ERROR_DISK_FULL);
        return FALSE;
    }
    return g_writeFile->Original<decltype(&::WriteFile)>()(file, buffer, size, written,
                                                           overlapped);
}
}  // namespace

// A save of a changed key and a new one on a full disk fails whole: the
// changed key keeps its old value.
TEST_F(SettingsStoreTest, FullDiskSavesNothing)
{
    const std::string before = R("m_nDelay", "5") + R("m_nVelocity", "500");
    WriteSettingsFile(before);
    ImportPatch patch("kernel32.dll", "WriteFile", reinterpret_cast<void*>(FullDiskWriteFile));
    ASSERT_TRUE(patch.Patched());
    g_writeFile = &patch;
    {
        CSettingsBatch batch(m_store);
        EXPECT_THROW(batch.WriteAll({{"m_nDelay", "9"}, {"m_csImage", "C:\\lock.bmp"}}),
                     CFileException);
    }
    EXPECT_EQ(before, ReadSettingsFile());
}
