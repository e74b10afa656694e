// Thousands of random operations on the real file, each checked against a
// plain model of the record format: the result, the value read and every
// byte of the file after the step.
#include "settings/SettingsStore.h"
#include "tests/support/SettingsFile.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <random>
#include <sstream>
#include <vector>

namespace {
const size_t kKeyWidth = 128;
const size_t kValueWidth = 2048;
const size_t kRecordSize = kKeyWidth + kValueWidth;

std::string UpToNul(const std::string& text)
{
    return text.substr(0, text.find('\0'));
}

// The file as whole records and whatever partial record follows them.
struct FileModel {
    std::vector<std::string> records;
    std::string tail;

    std::string Bytes() const
    {
        std::string bytes;
        for (const std::string& record : records)
            bytes += record;
        return bytes + tail;
    }

    static std::string KeyOf(const std::string& record) { return UpToNul(record.substr(0, kKeyWidth)); }

    int Read(const std::string& key, std::string& value) const
    {
        for (const std::string& record : records) {
            if (KeyOf(record) == UpToNul(key)) {
                value = UpToNul(record.substr(kKeyWidth));
                return 1;
            }
        }
        return 0;
    }

    int Write(const std::string& key, const std::string& value)
    {
        std::string keyText = UpToNul(key);
        std::string valueText = UpToNul(value);
        if (keyText.size() >= kKeyWidth || valueText.size() >= kValueWidth)
            return 0;
        std::string record = SettingsRecordBytes(keyText, valueText);
        for (std::string& existing : records) {
            if (KeyOf(existing) == keyText) {
                existing = record;
                return 1;
            }
        }
        if (!tail.empty())
            return 0;
        for (std::string& existing : records) {
            if (existing[0] == '\0') {
                existing = record;
                return 1;
            }
        }
        records.push_back(record);
        return 1;
    }
};

class RandomOperations {
public:
    explicit RandomOperations(unsigned seed) : m_random(seed) {}

    size_t Below(size_t bound) { return std::uniform_int_distribution<size_t>(0, bound - 1)(m_random); }
    bool OneIn(size_t n) { return Below(n) == 0; }

    std::string Key()
    {
        static const char* const kKeys[] = {"m_nDelay", "m_ndelay", "m_nVelocity", "m_csCode", "m_bScreenwipe",
                                            "m_bScreensaver", "m_nVirtualKey", "A", "B", "", "m_nDelay "};
        switch (Below(8)) {
        case 0:
            return std::string(127, 'k');
        case 1:
            return std::string(128 + Below(3), 'k');
        case 2:
            return std::string("A\0tail", 6);
        default:
            return kKeys[Below(sizeof(kKeys) / sizeof(kKeys[0]))];
        }
    }

    std::string Value()
    {
        size_t length;
        switch (Below(10)) {
        case 0:
            length = 2047;
            break;
        case 1:
            length = 2048 + Below(2);
            break;
        case 2:
            length = 0;
            break;
        default:
            length = Below(20);
            break;
        }
        std::string value;
        for (size_t i = 0; i < length; ++i)
            value += static_cast<char>(OneIn(40) ? 0 : 1 + Below(255));
        return value;
    }

    // A record as other writers might leave it: junk after the NULs, or no
    // NUL at all in a field.
    std::string ForeignRecord(const std::string& key)
    {
        std::string record(kRecordSize, '\0');
        for (char& c : record)
            c = static_cast<char>(Below(256));
        if (!OneIn(4)) {
            record.replace(0, key.size(), key);
            record[key.size()] = '\0';
        }
        if (!OneIn(4))
            record[kKeyWidth + Below(kValueWidth)] = '\0';
        return record;
    }

    std::string PartialRecord()
    {
        std::string tail(1 + Below(kRecordSize - 1), 'x');
        tail[0] = static_cast<char>(Below(2) ? 'A' : 'B');
        return tail;
    }

    int Integer()
    {
        return std::uniform_int_distribution<int>(INT_MIN, INT_MAX)(m_random) >> Below(32);
    }

private:
    std::mt19937 m_random;
};

class SettingsStoreModelTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteSettingsFile(); }
    void TearDown() override { DeleteSettingsFile(); }
};
}  // namespace

TEST_F(SettingsStoreModelTest, RandomOperationsMatchTheModelByteForByte)
{
    const int kSteps = 3000;
    RandomOperations random(20240613);
    FileModel model;
    CSettingsStore store("Vellmoran.bin");

    for (int step = 0; step < kSteps; ++step) {
        std::ostringstream what;
        size_t choice = random.Below(100);
        if (choice < 25) {
            std::string key = random.Key();
            std::string value = "untouched", expected = "untouched";
            what << "ReadString(" << key << ")";
            int expectedResult = model.Read(key, expected);
            EXPECT_EQ(expectedResult, store.ReadString(key, value)) << what.str();
            EXPECT_EQ(expected, value) << what.str();
        } else if (choice < 35) {
            std::string key = random.Key();
            std::string text;
            int value = -99;
            int expected = model.Read(key, text) ? std::atoi(text.c_str()) : -99;
            what << "ReadInt(" << key << ")";
            EXPECT_EQ(model.Read(key, text), store.ReadInt(key, value)) << what.str();
            EXPECT_EQ(expected, value) << what.str();
        } else if (choice < 65) {
            std::string key = random.Key();
            std::string value = random.Value();
            what << "WriteString(" << key << ", " << value.size() << " bytes)";
            EXPECT_EQ(model.Write(key, value), store.WriteString(key, value)) << what.str();
        } else if (choice < 75) {
            std::string key = random.Key();
            int value = random.Integer();
            what << "WriteInt(" << key << ", " << value << ")";
            EXPECT_EQ(model.Write(key, std::to_string(value)), store.WriteInt(key, value)) << what.str();
        } else {
            // Plant what the store itself never writes, straight into the file.
            size_t plant = random.Below(6);
            if (plant == 0 && model.tail.empty()) {
                model.tail = random.PartialRecord();
                what << "planted a partial record of " << model.tail.size() << " bytes";
            } else if (plant == 1) {
                model.tail.clear();
                what << "removed the partial record";
            } else if (plant == 2 && !model.records.empty()) {
                size_t index = random.Below(model.records.size());
                model.records[index][0] = '\0';
                what << "freed record " << index;
            } else if (plant == 3) {
                model.records.push_back(random.ForeignRecord(random.Key()));
                what << "appended a foreign record";
            } else if (plant == 4 && !model.records.empty()) {
                model.records.push_back(model.records[random.Below(model.records.size())]);
                what << "appended a duplicate";
            } else {
                model = FileModel();
                what << "emptied the file";
            }
            if (model.records.size() > 24)
                model = FileModel();
            WriteSettingsFile(model.Bytes());
        }
        ASSERT_EQ(model.Bytes(), ReadSettingsFile()) << "step " << step << ": " << what.str();
        if (HasFailure())
            FAIL() << "step " << step << ": " << what.str();
    }
}

TEST_F(SettingsStoreModelTest, OperationsOnAHeldFileChangeNothing)
{
    RandomOperations random(7);
    FileModel model;
    for (int i = 0; i < 8; ++i)
        model.Write(random.Key(), random.Value());
    WriteSettingsFile(model.Bytes());
    CSettingsStore store("Vellmoran.bin");
    {
        HeldSettingsFile held;
        ASSERT_TRUE(held.Held());
        for (int step = 0; step < 50; ++step) {
            std::string value = "untouched";
            EXPECT_EQ(0, store.ReadString(random.Key(), value));
            EXPECT_EQ("untouched", value);
            EXPECT_EQ(0, store.WriteString(random.Key(), random.Value()));
        }
    }
    EXPECT_EQ(model.Bytes(), ReadSettingsFile());
}
