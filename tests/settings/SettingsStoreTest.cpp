// The store against the exact bytes of the file that the lock daemon reads.
#include "framework/File.h"
#include "settings/SettingsBatch.h"
#include "settings/SettingsRecord.h"
#include "settings/SettingsStore.h"
#include "tests/support/SettingsFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

namespace {
struct SettingsStoreTest : ::testing::Test {
    void SetUp() override { DeleteSettingsFile(); }
    void TearDown() override { DeleteSettingsFile(); }
    CSettingsStore m_store{"Vellmoran.bin"};
};

// Writes 1000 bytes, then fails as a full disk does.
struct DiskFullFile : CFile {
    void Write(const void* buffer, UINT) override { CFile::Write(buffer, 1000), Raise("write", ERROR_DISK_FULL); }
};
}  // namespace

TEST_F(SettingsStoreTest, RecordLayoutAndIntegers)
{
    ASSERT_EQ(1, m_store.WriteInt("m_nDelay", 5));
    EXPECT_EQ("m_nDelay" + std::string(120, '\0') + "5" + std::string(2047, '\0'), ReadSettingsFile());
    int value = 42;
    for (auto c : {std::pair("12abc", 12), {"abc", 0}, {"  -7", -7}, {"+3", 3}, {"010", 10}}) {
        WriteSettingsFile(SettingsRecordBytes("m_nDelay", c.first));
        EXPECT_TRUE(m_store.ReadInt("m_nDelay", value) == 1 && value == c.second) << c.first << " read as " << value;
    }
    DeleteSettingsFile();
    EXPECT_EQ(0, m_store.ReadInt("m_nDelay", value));
    EXPECT_TRUE(SettingsFileExists() && ReadSettingsFile().empty()) << "a read creates a missing file empty";
}

// Nobody, the lock daemon included, may open the file while the store has it
// open, not even an opener that shares everything.
TEST_F(SettingsStoreTest, ExclusiveOpen)
{
    WriteSettingsFile(SettingsRecordBytes("m_nDelay", "5"));
    for (auto access : {CSettingsBatch::readWrite, CSettingsBatch::readOnly}) {
        CSettingsBatch batch(m_store, access);
        HANDLE other = ::CreateFileA(SettingsFilePath().c_str(), GENERIC_READ,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_EQ(ERROR_SHARING_VIOLATION, other == INVALID_HANDLE_VALUE ? ::GetLastError() : 0) << access;
        if (other != INVALID_HANDLE_VALUE)
            ::CloseHandle(other);
    }
}

// A write that the system takes only in part, as on a full disk, is a
// failure and never a save: here a pipe with room for less than one record.
TEST(File, WriteCutShortRaises)
{
    const char name[] = "\\\\.\\pipe\\VellmoranShortWrite";
    HANDLE reader = ::CreateNamedPipeA(name, PIPE_ACCESS_INBOUND, PIPE_TYPE_BYTE | PIPE_NOWAIT, 1, 0, 1000, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    struct PipeFile : CFile {
        void NoWait() { DWORD mode = PIPE_NOWAIT; ::SetNamedPipeHandleState(m_hFile, &mode, nullptr, nullptr); }
    } file;
    ASSERT_TRUE(file.Open(name, CFile::modeWrite));
    file.NoWait();
    const std::string record = SettingsRecordBytes("m_csCode", "298e2823f33e");
    std::string what = "nothing raised";
    try { file.Write(record.data(), static_cast<UINT>(record.size())); } catch (const CFileException& e) { what = e.what(); }
    EXPECT_NE(std::string::npos, what.find(name)) << what;
    file.Close();
    ::CloseHandle(reader);
}

// A partial record left behind would block every later new key; the error
// must still name the file.
TEST_F(SettingsStoreTest, FailedAppendRestoresTheLength)
{
    WriteSettingsFile(SettingsRecordBytes("m_nDelay", "5"));
    CSettingsRecord record;
    DiskFullFile file;
    ASSERT_TRUE(record.Assign("m_csCode", "298e2823f33e") && file.Open(SettingsFilePath(), CFile::modeReadWrite));
    std::string what = "nothing raised";
    try { AppendRecord(file, record); } catch (const CFileException& e) { what = e.what(); }
    EXPECT_NE(std::string::npos, what.find(SettingsFilePath())) << what;
    file.Close();
    EXPECT_EQ(SettingsRecordBytes("m_nDelay", "5"), ReadSettingsFile());
}

// Reads and writes, with partial records and records of other writers planted
// in the file, each step checked against a plain model of the format (whole
// records, then perhaps a partial one): the result, the value, every byte.
TEST_F(SettingsStoreTest, RandomOperationsAgainstAModel)
{
    std::mt19937 random(20240613);
    auto below = [&random](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); };
    auto upToNul = [](const std::string& text) { return text.substr(0, text.find('\0')); };
    auto text = [&below](size_t length) {
        std::string text(length, '\0');
        for (char& c : text)
            c = static_cast<char>(below(40) ? 1 + below(255) : 0);
        return text;
    };
    const std::vector<std::string> keys = {"m_nDelay", "m_ndelay", "A", "", std::string("A\0tail", 6),
                                           std::string(127, 'k'), std::string(128, 'k'), std::string(129, 'k')};
    const std::vector<size_t> lengths = {0, 1, 5, 19, 2047, 2048};
    std::vector<std::string> records;
    std::string tail;
    auto find = [&](const std::string& key) {
        return std::find_if(records.begin(), records.end(),
                            [&](const std::string& record) { return upToNul(record.substr(0, 128)) == upToNul(key); });
    };
    for (int step = 0; step < 3000 && !HasFailure(); ++step) {
        const std::string& key = keys[below(keys.size())];
        SCOPED_TRACE("step " + std::to_string(step) + ", key " + key.substr(0, 9));
        auto found = find(key);
        int op = static_cast<int>(below(8)), number = static_cast<int>(random()) >> below(32);
        int result = found != records.end();
        std::string value = "untouched", expected = result ? upToNul(found->substr(128)) : value;
        if (op <= 1) {
            EXPECT_EQ(result, m_store.ReadString(key, value));
            EXPECT_EQ(expected, value);
        } else if (op <= 4) {
            value = op == 4 ? std::to_string(number) : text(lengths[below(lengths.size())]);
            result = upToNul(key).size() < 128 && upToNul(value).size() < 2048 && (result || tail.empty());
            EXPECT_EQ(result, op == 4 ? m_store.WriteInt(key, number) : m_store.WriteString(key, value));
            if (result && found == records.end())
                found = find("") != records.end() ? find("") : records.insert(records.end(), "");
            if (result)
                *found = SettingsRecordBytes(upToNul(key), upToNul(value));
        } else {
            if (op == 5)
                tail = tail.empty() ? (key + std::string(100, 'x')).substr(0, 100) : "";
            else  // duplicates and free records, junk after the NULs, fields without any NUL
                records.push_back(op == 6 ? (key + '\0' + text(2176)).substr(0, 2176)
                                          : std::string(128, 'k') + std::string(2048, 'v'));
            if (records.size() > 24)
                records.clear();
            WriteSettingsFile(std::accumulate(records.begin(), records.end(), std::string()) + tail);
        }
        EXPECT_EQ(std::accumulate(records.begin(), records.end(), std::string()) + tail, ReadSettingsFile());
    }
}
