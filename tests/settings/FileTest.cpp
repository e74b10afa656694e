#include "framework/File.h"
#include "framework/Wnd.h"
#include "settings/SettingsRecord.h"
#include "settings/SettingsStore.h"
#include "tests/support/GuiDriver.h"
#include "tests/support/SettingsFile.h"

#include <gtest/gtest.h>

namespace {
const UINT kStoreFlags = CFile::modeReadWrite | CFile::shareExclusive | CFile::modeCreate | CFile::modeNoTruncate;

class FileTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteSettingsFile(); }
    void TearDown() override { DeleteSettingsFile(); }
};

class HandleFile : public CFile {
public:
    HANDLE Handle() const { return m_hFile; }
};

// Writes what fits, then fails as a full disk does.
class DiskFullFile : public CFile {
public:
    explicit DiskFullFile(UINT bytesThatFit) : m_bytesThatFit(bytesThatFit) {}
    void Write(const void* buffer, UINT count) override
    {
        CFile::Write(buffer, count < m_bytesThatFit ? count : m_bytesThatFit);
        if (count > m_bytesThatFit)
            Raise("write", ERROR_DISK_FULL);
    }

private:
    UINT m_bytesThatFit;
};

// The exception's report must say which file and what went wrong.
void ExpectNamesFileAndError(const CFileException& e, DWORD error)
{
    EXPECT_EQ(SettingsFilePath(), e.m_strFileName);
    EXPECT_EQ(error, e.m_lOsError);
    std::string what = e.what();
    EXPECT_NE(std::string::npos, what.find(SettingsFilePath())) << what;
}
}  // namespace

TEST_F(FileTest, StoreFlagsCreateWithoutTruncatingInheritablyAndShareWithNobody)
{
    EXPECT_EQ(0x3012u, kStoreFlags);
    {
        HandleFile file;
        ASSERT_TRUE(file.Open(SettingsFilePath(), kStoreFlags));
        EXPECT_TRUE(SettingsFileExists());
        DWORD flags = 0;
        ASSERT_TRUE(::GetHandleInformation(file.Handle(), &flags));
        EXPECT_TRUE(flags & HANDLE_FLAG_INHERIT);
        file.Write("abc", 3);

        CFile second;
        EXPECT_FALSE(second.Open(SettingsFilePath(), kStoreFlags));
        EXPECT_FALSE(HeldSettingsFile().Held());
        file.Close();
        EXPECT_FALSE(file.IsOpen());
    }
    CFile again;
    ASSERT_TRUE(again.Open(SettingsFilePath(), kStoreFlags));
    char buffer[8] = {};
    EXPECT_EQ(3u, again.Read(buffer, sizeof(buffer)));
    EXPECT_STREQ("abc", buffer);
    EXPECT_EQ(0u, again.Read(buffer, sizeof(buffer)));
}

TEST_F(FileTest, FailedOpenIsOnlyFalseAndDestructorReleasesTheFile)
{
    CFile missingDirectory;
    EXPECT_FALSE(missingDirectory.Open(ExecutableDirectory() + "\\no such directory\\Vellmoran.bin", kStoreFlags));
    EXPECT_FALSE(missingDirectory.IsOpen());

    {
        CFile forgotten;
        ASSERT_TRUE(forgotten.Open(SettingsFilePath(), kStoreFlags));
    }
    HeldSettingsFile other;
    EXPECT_TRUE(other.Held());
}

TEST_F(FileTest, ErrorsAfterTheOpenRaiseWithFileNameAndSystemError)
{
    WriteSettingsFile("0123456789");
    {
        CFile writeOnly;
        ASSERT_TRUE(writeOnly.Open(SettingsFilePath(), CFile::modeWrite));
        char buffer[4];
        try {
            writeOnly.Read(buffer, sizeof(buffer));
            ADD_FAILURE() << "a read of a write-only file succeeded";
        } catch (const CFileException& e) {
            ExpectNamesFileAndError(e, ERROR_ACCESS_DENIED);
        }
    }
    {
        CFile readOnly;
        ASSERT_TRUE(readOnly.Open(SettingsFilePath(), CFile::modeRead));
        try {
            readOnly.Write("x", 1);
            ADD_FAILURE() << "a write to a read-only file succeeded";
        } catch (const CFileException& e) {
            ExpectNamesFileAndError(e, ERROR_ACCESS_DENIED);
        }
        try {
            readOnly.Seek(-1, CFile::begin);
            ADD_FAILURE() << "a seek before the start succeeded";
        } catch (const CFileException& e) {
            ExpectNamesFileAndError(e, ERROR_NEGATIVE_SEEK);
        }
    }
    EXPECT_EQ("0123456789", ReadSettingsFile());
}

TEST_F(FileTest, TheFrameworkReportShowsWhatFailedAndWhere)
{
    MessageBoxWatcher watcher(IDOK);
    try {
        throw CFileException(SettingsFilePath(), "write", ERROR_DISK_FULL);
    } catch (...) {
        AfxReportCurrentException();
    }
    ASSERT_EQ(1u, watcher.Boxes().size());
    const std::string& text = watcher.Boxes()[0].text;
    EXPECT_NE(std::string::npos, text.find("write")) << text;
    EXPECT_NE(std::string::npos, text.find(SettingsFilePath())) << text;
    EXPECT_GT(text.size(), std::string("Unable to write the file " + SettingsFilePath() + ". ").size()) << text;
}

TEST_F(FileTest, AFailedAppendGivesTheFileItsOldLengthBack)
{
    std::string before = SettingsRecordBytes("m_nDelay", "5") + SettingsRecordBytes("m_nVelocity", "500");
    WriteSettingsFile(before);
    CSettingsRecord record;
    ASSERT_TRUE(record.Assign("m_csCode", "298e2823f33e"));
    {
        DiskFullFile file(1000);
        ASSERT_TRUE(file.Open(SettingsFilePath(), kStoreFlags));
        try {
            AppendRecord(file, record);
            ADD_FAILURE() << "the append did not raise";
        } catch (const CFileException& e) {
            ExpectNamesFileAndError(e, ERROR_DISK_FULL);
        }
    }
    EXPECT_EQ(before, ReadSettingsFile());

    // So a later new key is not blocked by a partial record.
    CSettingsStore store("Vellmoran.bin");
    EXPECT_EQ(1, store.WriteString("m_csCode", "298e2823f33e"));
    EXPECT_EQ(before + SettingsRecordBytes("m_csCode", "298e2823f33e"), ReadSettingsFile());
}

TEST_F(FileTest, AnAppendThatFitsWritesTheRecordAtTheEnd)
{
    WriteSettingsFile(SettingsRecordBytes("m_nDelay", "5"));
    CSettingsRecord record;
    ASSERT_TRUE(record.Assign("m_nVelocity", "700"));
    CFile file;
    ASSERT_TRUE(file.Open(SettingsFilePath(), kStoreFlags));
    file.Seek(0, CFile::begin);
    AppendRecord(file, record);
    file.Close();
    EXPECT_EQ(SettingsRecordBytes("m_nDelay", "5") + SettingsRecordBytes("m_nVelocity", "700"), ReadSettingsFile());
}
