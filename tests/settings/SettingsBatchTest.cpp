// Several keys under one open: the outcomes a caller must tell apart, and
// saves that are whole or nothing.
#include "settings/SettingsBatch.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsStore.h"
#include "tests/support/SettingsFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {
struct SettingsBatchTest : ::testing::Test {
    void SetUp() override { DeleteSettingsFile(); }
    void TearDown() override { DeleteSettingsFile(), ::DeleteFileA((SettingsFilePath() + ".damaged").c_str()); }
    CSettingsStore m_store{Settings::kFileName};
};
const std::string A = SettingsRecordBytes("A", "1"), B = SettingsRecordBytes("B", "2"), Free(2176, '\0');
}  // namespace

TEST_F(SettingsBatchTest, ReadsTellFoundFromAbsentFromNotOpenedAndTheReadOnlyModeNeverWrites)
{
    EXPECT_EQ(SettingsFilePath(), m_store.Path());
    std::string value = "untouched";
    {
        CSettingsBatch reader(m_store, CSettingsBatch::readOnly);
        EXPECT_EQ(SettingsRead::absent, reader.ReadString("A", value));
        EXPECT_EQ(0, reader.WriteString("A", "1"));
    }
    EXPECT_FALSE(SettingsFileExists()) << "the read-only mode created the file";
    WriteSettingsFile(A + B);
    {
        CSettingsBatch reader(m_store, CSettingsBatch::readOnly);
        HeldSettingsFile held;
        EXPECT_FALSE(held.Held()) << "the read-only open shares the file";
        EXPECT_EQ(SettingsRead::found, reader.ReadString("B", value));
        EXPECT_EQ(SettingsRead::absent, reader.ReadString("C", value));
        EXPECT_EQ(SettingsWrite::notOpened, reader.WriteAll({{"A", "3"}}));
    }
    EXPECT_EQ("2", value);
    HeldSettingsFile held;
    CSettingsBatch batch(m_store);
    EXPECT_EQ(SettingsOpen::held, batch.Opened());
    EXPECT_EQ(SettingsRead::notOpened, batch.ReadString("A", value));
    EXPECT_EQ(SettingsWrite::notOpened, batch.WriteAll({{"A", "3"}}));
}

TEST_F(SettingsBatchTest, ARefusedOpenNamesItsCause)
{
    WriteSettingsFile(A);
    ::SetFileAttributesA(SettingsFilePath().c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(SettingsOpen::accessDenied, CSettingsBatch(m_store).Opened());
    EXPECT_EQ(SettingsOpen::opened, CSettingsBatch(m_store, CSettingsBatch::readOnly).Opened());
    ::SetFileAttributesA(SettingsFilePath().c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteSettingsFile();
    ASSERT_TRUE(::CreateDirectoryA(SettingsFilePath().c_str(), nullptr));
    EXPECT_EQ(SettingsOpen::notAFile, CSettingsBatch(m_store).Opened());
    EXPECT_EQ(SettingsOpen::notAFile, CSettingsBatch(m_store, CSettingsBatch::readOnly).Opened());
    ::RemoveDirectoryA(SettingsFilePath().c_str());
}

// Keys land where single writes would put them; a key that cannot be
// written stops the whole save before any byte changes.
TEST_F(SettingsBatchTest, WriteAllIsWholeOrNothingAndADamagedEndIsKeptInACopy)
{
    auto R = SettingsRecordBytes;
    const std::string tail(100, 'x');
    WriteSettingsFile(A + Free + B);
    EXPECT_EQ(SettingsWrite::written, CSettingsBatch(m_store).WriteAll({{"B", "5"}, {"C", "6"}, {"D", "7"}, {"A", "8"}}));
    EXPECT_TRUE(R("A", "8") + R("C", "6") + R("B", "5") + R("D", "7") == ReadSettingsFile());

    WriteSettingsFile(A + Free + tail);
    {
        CSettingsBatch batch(m_store);
        EXPECT_EQ(SettingsWrite::written, batch.WriteAll({{"A", "9"}})) << "a key before the damage is rewritten";
        EXPECT_EQ(SettingsWrite::damagedEnd, batch.WriteAll({{"A", "1"}, {"C", "6"}}));
    }
    EXPECT_TRUE(R("A", "9") + Free + tail == ReadSettingsFile());
    {
        CSettingsBatch batch(m_store);
        EXPECT_EQ(100u, batch.DamagedEndLength());
        EXPECT_EQ(SettingsFilePath() + ".damaged", batch.CutDamagedEnd());
        EXPECT_EQ(SettingsWrite::written, batch.WriteAll({{"C", "6"}}));
    }
    EXPECT_TRUE(R("A", "9") + R("C", "6") == ReadSettingsFile());
    std::ifstream copy(SettingsFilePath() + ".damaged", std::ios::binary);
    EXPECT_EQ(tail, std::string(std::istreambuf_iterator<char>(copy), {}));
}
