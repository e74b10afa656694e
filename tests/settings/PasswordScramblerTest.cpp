#include "settings/PasswordScrambler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>

namespace {
std::string Scrambled(std::string password)
{
    ScramblePassword(password);
    return password;
}

// The digits before the shuffle: each byte masked with 0x5B as two digits,
// with the byte that would give 01 taken as a line feed.
std::string HexDigits(const std::string& password)
{
    std::string hex;
    for (char c : password) {
        unsigned byte = static_cast<unsigned char>(c);
        char digits[3];
        std::snprintf(digits, sizeof(digits), "%02x", (byte == 0x5A ? 0x0Au : byte) ^ 0x5Bu);
        hex += digits;
    }
    return hex;
}

std::string Sorted(std::string text)
{
    std::sort(text.begin(), text.end());
    return text;
}
}  // namespace

TEST(ScramblePassword, GivesTheCodesTheDaemonExpects)
{
    EXPECT_EQ("298e2823f33e", Scrambled("secret"));
    EXPECT_EQ("92829238afbc666a320348", Scrambled("Password123"));
    // Computed by a separate implementation of the same steps: the longest
    // password, high bytes, and the masked byte repeated.
    EXPECT_EQ("432963ad3352836f6ef266323b22f8023131263323232cb9a9732e83336dcea2",
              Scrambled("abcdefghijklmnopqrstuvwxyz012345"));
    EXPECT_EQ("4bda", Scrambled("\x80\xff"));
    EXPECT_EQ("515511", Scrambled("ZZZ"));
}

TEST(ScramblePassword, EmptyStaysEmpty)
{
    EXPECT_EQ("", Scrambled(""));
}

TEST(ScramblePassword, TheMaskedByteEncodesLikeALineFeed)
{
    EXPECT_EQ(Scrambled("\n"), Scrambled("Z"));
    EXPECT_EQ("51", Scrambled("Z"));
    EXPECT_EQ(Scrambled("a\nb"), Scrambled("aZb"));
}

TEST(ScramblePassword, EveryByteGivesTwoDigitsWithoutSignExtension)
{
    for (int byte = 0; byte < 256; ++byte) {
        std::string password(1, static_cast<char>(byte));
        std::string code = Scrambled(password);
        EXPECT_EQ(Sorted(HexDigits(password)), Sorted(code)) << "byte " << byte;
        EXPECT_NE("01", HexDigits(password)) << "byte " << byte;
    }
}

TEST(ScramblePassword, CodesAreShuffledHexDigitsOfTwiceTheLengthAndRepeatable)
{
    std::mt19937 random(1998);
    for (int i = 0; i < 300; ++i) {
        std::string password(1 + random() % 32, '\0');
        for (char& c : password)
            c = static_cast<char>(random() % 256);
        std::string code = Scrambled(password);
        ASSERT_EQ(2 * password.size(), code.size());
        EXPECT_EQ(std::string::npos, code.find_first_not_of("0123456789abcdef")) << code;
        EXPECT_EQ(Sorted(HexDigits(password)), Sorted(code));
        EXPECT_EQ(code, Scrambled(password));
    }
}
