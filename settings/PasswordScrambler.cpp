#include "settings/PasswordScrambler.h"

#include "settings/SecureWipe.h"

#include <cstdint>

namespace {
const unsigned char kMask = 0x5B;

// MT19937 as first published in 1998. Only its seeding differs from the
// 2002 revision that std::mt19937 implements, and the lock daemon depends on
// exactly this sequence.
class CMersenneTwister1998 {
public:
    explicit CMersenneTwister1998(uint32_t seed)
    {
        m_state[0] = seed;
        for (int i = 1; i < kSize; ++i)
            m_state[i] = 69069u * m_state[i - 1];
    }
    ~CMersenneTwister1998() { SecureWipe(m_state, sizeof(m_state)); }
    CMersenneTwister1998(const CMersenneTwister1998&) = delete;
    CMersenneTwister1998& operator=(const CMersenneTwister1998&) = delete;

    uint32_t Next()
    {
        if (m_index == kSize)
            Regenerate();
        uint32_t y = m_state[m_index++];
        y ^= y >> 11;
        y ^= (y << 7) & 0x9D2C5680u;
        y ^= (y << 15) & 0xEFC60000u;
        y ^= y >> 18;
        return y;
    }

private:
    static const int kSize = 624;
    static const int kShift = 397;

    void Regenerate()
    {
        static const uint32_t kMatrix[2] = {0, 0x9908B0DFu};
        for (int k = 0; k < kSize; ++k) {
            uint32_t y = (m_state[k] & 0x80000000u) | (m_state[(k + 1) % kSize] & 0x7FFFFFFFu);
            m_state[k] = m_state[(k + kShift) % kSize] ^ (y >> 1) ^ kMatrix[y & 1];
        }
        m_index = 0;
    }

    uint32_t m_state[kSize];
    int m_index = kSize;
};

// Two digits per byte. The one byte that would mask to 0x01 is taken as a
// line feed, so that no code contains the pair 01 in place of a byte.
std::string HexStage(const std::string& password)
{
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(2 * password.size());
    for (char c : password) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (byte == (kMask ^ 0x01))
            byte = 0x0A;
        byte ^= kMask;
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0x0F];
    }
    return hex;
}
}  // namespace

void ScramblePassword(std::string& password)
{
    std::string code = HexStage(password);
    SecureWipe(password);
    if (code.empty())
        return;

    uint32_t length = static_cast<uint32_t>(code.size());
    uint32_t sum = 0;
    for (char c : code)
        sum += static_cast<unsigned char>(c);
    CMersenneTwister1998 generator(length * sum);
    for (uint32_t i = 0; i < 4 * length; ++i) {
        uint32_t a = generator.Next() % length;
        uint32_t b = generator.Next() % length;
        std::swap(code[a], code[b]);
    }
    password.swap(code);
}
