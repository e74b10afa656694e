#include "settings/SettingsPath.h"
#include "settings/SettingsStore.h"
#include "tests/support/SettingsFile.h"

#include <gtest/gtest.h>

#include <climits>

namespace {
const size_t kRecordSize = 2176;

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteSettingsFile(); }
    void TearDown() override { DeleteSettingsFile(); }

    CSettingsStore m_store{"Vellmoran.bin"};
};

std::string Records(std::initializer_list<std::pair<const char*, const char*>> records)
{
    std::string bytes;
    for (const auto& record : records)
        bytes += SettingsRecordBytes(record.first, record.second);
    return bytes;
}

std::string Free()
{
    return SettingsRecordBytes("", "");
}
}  // namespace

TEST_F(SettingsStoreTest, AReadOfAMissingFileLeavesAnEmptyFileAndTheValueAsItWas)
{
    int delay = 42;
    EXPECT_EQ(0, m_store.ReadInt("m_nDelay", delay));
    EXPECT_EQ(42, delay);
    ASSERT_TRUE(SettingsFileExists());
    EXPECT_EQ("", ReadSettingsFile());

    std::string code = "unchanged";
    EXPECT_EQ(0, m_store.ReadString("m_csCode", code));
    EXPECT_EQ("unchanged", code);
}

TEST_F(SettingsStoreTest, TheFirstWriteMakesOneRecordOfExactlyTheDescribedBytes)
{
    std::string expected(kRecordSize, '\0');
    expected.replace(0, 8, "m_nDelay");
    expected[128] = '5';

    ASSERT_EQ(1, m_store.WriteInt("m_nDelay", 5));
    EXPECT_EQ(expected, ReadSettingsFile());

    WriteSettingsFile("");
    ASSERT_EQ(1, m_store.WriteInt("m_nDelay", 5));
    EXPECT_EQ(expected, ReadSettingsFile());
}

TEST_F(SettingsStoreTest, RewritingAKeyReplacesItsRecordInPlace)
{
    WriteSettingsFile(Records({{"m_nVelocity", "1100"}, {"m_nDelay", "5"}, {"m_bScreenwipe", "1"}}));
    ASSERT_EQ(1, m_store.WriteInt("m_nVelocity", 100));
    ASSERT_EQ(1, m_store.WriteInt("m_nDelay", -1));
    EXPECT_EQ(Records({{"m_nVelocity", "100"}, {"m_nDelay", "-1"}, {"m_bScreenwipe", "1"}}), ReadSettingsFile());
}

TEST_F(SettingsStoreTest, NewKeysTakeTheFirstFreeRecordAndExistingKeysStayWhereTheyAre)
{
    std::string aFreeB = Records({{"A", "1"}}) + Free() + Records({{"B", "2"}});

    WriteSettingsFile(aFreeB);
    ASSERT_EQ(1, m_store.WriteString("C", "3"));
    EXPECT_EQ(Records({{"A", "1"}, {"C", "3"}, {"B", "2"}}), ReadSettingsFile());

    WriteSettingsFile(aFreeB);
    ASSERT_EQ(1, m_store.WriteString("B", "4"));
    EXPECT_EQ(Records({{"A", "1"}}) + Free() + Records({{"B", "4"}}), ReadSettingsFile());

    WriteSettingsFile(Records({{"A", "1"}}) + Free() + Free());
    ASSERT_EQ(1, m_store.WriteString("C", "3"));
    EXPECT_EQ(Records({{"A", "1"}, {"C", "3"}}) + Free(), ReadSettingsFile());

    WriteSettingsFile(Records({{"A", "1"}}));
    ASSERT_EQ(1, m_store.WriteString("C", "3"));
    EXPECT_EQ(Records({{"A", "1"}, {"C", "3"}}), ReadSettingsFile());
}

TEST_F(SettingsStoreTest, TheFirstOfDuplicateKeysIsReadAndOverwritten)
{
    WriteSettingsFile(Records({{"K", "first"}, {"K", "second"}}));
    std::string value;
    ASSERT_EQ(1, m_store.ReadString("K", value));
    EXPECT_EQ("first", value);
    ASSERT_EQ(1, m_store.WriteString("K", "third"));
    EXPECT_EQ(Records({{"K", "third"}, {"K", "second"}}), ReadSettingsFile());
}

TEST_F(SettingsStoreTest, KeysAreExactCaseSensitiveByteStrings)
{
    WriteSettingsFile(Records({{"m_nDelay", "7"}}));
    int value = -5;
    EXPECT_EQ(0, m_store.ReadInt("m_ndelay", value));
    EXPECT_EQ(0, m_store.ReadInt(" m_nDelay", value));
    EXPECT_EQ(0, m_store.ReadInt("m_nDela", value));
    EXPECT_EQ(-5, value);
    EXPECT_EQ(1, m_store.ReadInt("m_nDelay", value));
    EXPECT_EQ(7, value);

    ASSERT_EQ(1, m_store.WriteInt("m_ndelay", 9));
    EXPECT_EQ(Records({{"m_nDelay", "7"}, {"m_ndelay", "9"}}), ReadSettingsFile());
}

TEST_F(SettingsStoreTest, IntegersAreWrittenAsPlainDecimalAndReadByTheAtoiRule)
{
    ASSERT_EQ(1, m_store.WriteInt("zero", 0));
    ASSERT_EQ(1, m_store.WriteInt("large", 500));
    ASSERT_EQ(1, m_store.WriteInt("lowest", INT_MIN));
    EXPECT_EQ(Records({{"zero", "0"}, {"large", "500"}, {"lowest", "-2147483648"}}), ReadSettingsFile());

    struct Case {
        const char* text;
        int value;
    };
    for (Case c : {Case{"12abc", 12}, Case{"abc", 0}, Case{"  -7", -7}, Case{"+3", 3}, Case{"", 0},
                   Case{"\t\n 8 9", 8}, Case{"-2147483648", INT_MIN}, Case{"0x1A", 0}}) {
        DeleteSettingsFile();
        WriteSettingsFile(Records({{"m_nDelay", c.text}}));
        int value = 12345;
        EXPECT_EQ(1, m_store.ReadInt("m_nDelay", value)) << c.text;
        EXPECT_EQ(c.value, value) << c.text;
    }
}

TEST_F(SettingsStoreTest, APartialRecordAtTheEndIsTheEndOfTheFileAndBlocksNewRecords)
{
    std::string partial = Records({{"m_nDelay", "5"}}) + std::string(100, 'x');
    partial[kRecordSize] = 'K';
    WriteSettingsFile(partial);

    std::string value;
    ASSERT_EQ(1, m_store.ReadString("m_nDelay", value));
    EXPECT_EQ("5", value);
    EXPECT_EQ(0, m_store.ReadString("Kxxx", value));
    EXPECT_EQ(0, m_store.WriteString("m_nVelocity", "500"));
    EXPECT_EQ(0, m_store.WriteInt("Kxxx", 1));
    EXPECT_EQ(partial, ReadSettingsFile());

    ASSERT_EQ(1, m_store.WriteInt("m_nDelay", 30));
    EXPECT_EQ(Records({{"m_nDelay", "30"}}) + partial.substr(kRecordSize), ReadSettingsFile());

    // A free record before the tail does not help: the scan meets the tail.
    std::string freeThenPartial = Free() + partial.substr(kRecordSize);
    WriteSettingsFile(freeThenPartial);
    EXPECT_EQ(0, m_store.WriteString("new", "1"));
    EXPECT_EQ(freeThenPartial, ReadSettingsFile());
}

TEST_F(SettingsStoreTest, AFileHeldByAnotherOpenerFailsEveryOperationAndStaysUnchanged)
{
    std::string bytes = Records({{"m_nDelay", "5"}, {"m_csCode", "298e2823f33e"}});
    WriteSettingsFile(bytes);
    {
        HeldSettingsFile held;
        ASSERT_TRUE(held.Held());
        int delay = 77;
        std::string code = "before";
        DWORD start = ::GetTickCount();
        EXPECT_EQ(0, m_store.ReadInt("m_nDelay", delay));
        EXPECT_EQ(0, m_store.ReadString("m_csCode", code));
        EXPECT_EQ(0, m_store.WriteInt("m_nDelay", 6));
        EXPECT_EQ(0, m_store.WriteString("m_csCode", ""));
        EXPECT_EQ(0, m_store.WriteString("new", "1"));
        EXPECT_EQ(0, m_store.CanOpen());
        EXPECT_LT(::GetTickCount() - start, 1000u) << "the store waited for the file";
        EXPECT_EQ(77, delay);
        EXPECT_EQ("before", code);
    }
    EXPECT_EQ(bytes, ReadSettingsFile());
    EXPECT_EQ(1, m_store.CanOpen());
    EXPECT_EQ(bytes, ReadSettingsFile());
}

TEST_F(SettingsStoreTest, CanOpenCreatesAMissingFileEmpty)
{
    EXPECT_EQ(1, m_store.CanOpen());
    ASSERT_TRUE(SettingsFileExists());
    EXPECT_EQ("", ReadSettingsFile());
}

TEST_F(SettingsStoreTest, KeysAndValuesThatDoNotFitAreRefusedWithoutTouchingTheFile)
{
    std::string key127(127, 'k');
    std::string value2047(2047, 'v');

    EXPECT_EQ(0, m_store.WriteString(key127 + "k", "1"));
    EXPECT_EQ(0, m_store.WriteString("m_csCode", value2047 + "v"));
    EXPECT_FALSE(SettingsFileExists());

    WriteSettingsFile(Records({{"m_csCode", "abc"}}));
    EXPECT_EQ(0, m_store.WriteString("m_csCode", value2047 + "v"));
    EXPECT_EQ(0, m_store.WriteString(std::string(500, 'k'), "1"));
    EXPECT_EQ(Records({{"m_csCode", "abc"}}), ReadSettingsFile());

    ASSERT_EQ(1, m_store.WriteString(key127, value2047));
    std::string expected = Records({{"m_csCode", "abc"}}) + SettingsRecordBytes(key127, value2047);
    EXPECT_EQ(expected, ReadSettingsFile());
    EXPECT_EQ('\0', ReadSettingsFile()[kRecordSize + 127]);
    EXPECT_EQ('\0', ReadSettingsFile()[2 * kRecordSize - 1]);
    std::string value;
    ASSERT_EQ(1, m_store.ReadString(key127, value));
    EXPECT_EQ(value2047, value);
}

TEST_F(SettingsStoreTest, FieldsAreReadUpToTheirNulOrTheirWholeWidthButNeverBeyond)
{
    std::string fullKey(128, 'K');
    std::string fullValue(2048, 'V');
    std::string noNul = SettingsRecordBytes(fullKey, fullValue);
    std::string junkAfterNul = SettingsRecordBytes(std::string("A\0junk", 6), std::string("x\0junk", 6));
    WriteSettingsFile(noNul + junkAfterNul + Records({{"B", "2"}}));

    std::string value;
    ASSERT_EQ(1, m_store.ReadString(fullKey, value));
    EXPECT_EQ(fullValue, value);
    EXPECT_EQ(0, m_store.ReadString(fullKey.substr(0, 127), value));
    ASSERT_EQ(1, m_store.ReadString("A", value));
    EXPECT_EQ("x", value);
    ASSERT_EQ(1, m_store.ReadString("B", value));
    EXPECT_EQ("2", value);

    // The writer matches keys the same way, and writes clean fields.
    ASSERT_EQ(1, m_store.WriteString("A", "y"));
    EXPECT_EQ(noNul + Records({{"A", "y"}, {"B", "2"}}), ReadSettingsFile());
}

TEST_F(SettingsStoreTest, KeysAndValuesEndAtTheirFirstNul)
{
    ASSERT_EQ(1, m_store.WriteString(std::string("K\0hidden", 8), std::string("v\0hidden", 8)));
    EXPECT_EQ(Records({{"K", "v"}}), ReadSettingsFile());
    std::string value;
    ASSERT_EQ(1, m_store.ReadString(std::string("K\0other", 7), value));
    EXPECT_EQ("v", value);
}

TEST_F(SettingsStoreTest, TheEmptyKeyNamesTheFirstFreeRecord)
{
    WriteSettingsFile(Records({{"A", "1"}}) + SettingsRecordBytes(std::string("\0old", 4), "left over"));
    std::string value;
    ASSERT_EQ(1, m_store.ReadString("", value));
    EXPECT_EQ("left over", value);
}

TEST(SettingsDirectory, CutsAtTheLastBackslashAfterTheFirstCharacterOnly)
{
    EXPECT_EQ("C:\\Program Files\\Vellmoran", SettingsDirectory("C:\\Program Files\\Vellmoran\\Vellmoran.exe"));
    EXPECT_EQ("C:", SettingsDirectory("C:\\Vellmoran.exe"));
    EXPECT_EQ("C:\\dir", SettingsDirectory("C:\\dir\\sub/Vellmoran.exe"));
    EXPECT_EQ("", SettingsDirectory("C:/dir/Vellmoran.exe"));
    EXPECT_EQ("", SettingsDirectory("Vellmoran.exe"));
    EXPECT_EQ("", SettingsDirectory("\\Vellmoran.exe"));
    EXPECT_EQ("\\\\server", SettingsDirectory("\\\\server\\Vellmoran.exe"));
}

TEST(SettingsStorePath, TheStoreUsesTheFileBesideTheExecutable)
{
    DeleteSettingsFile();
    CSettingsStore store("Vellmoran.bin");
    ASSERT_EQ(1, store.WriteInt("m_nDelay", 12));
    std::string value;
    EXPECT_TRUE(FindSettingsValue(ReadSettingsFile(), "m_nDelay", value));
    EXPECT_EQ("12", value);
    DeleteSettingsFile();
}
