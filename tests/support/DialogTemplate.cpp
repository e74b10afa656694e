#include "tests/support/DialogTemplate.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {
// Reads the fields of a template in order; texts are UTF-16 and ASCII here.
class Reader {
public:
    explicit Reader(const BYTE* data) : m_start(data), m_at(data) {}

    template <typename T>
    T Next()
    {
        T value;
        std::memcpy(&value, m_at, sizeof(value));
        m_at += sizeof(value);
        return value;
    }
    std::string Text()
    {
        std::string text;
        for (WORD c = Next<WORD>(); c != 0; c = Next<WORD>())
            text += static_cast<char>(c);
        return text;
    }
    // A text, or an ordinal: 0xFFFF and a number.
    std::string TextOrOrdinal(int& ordinal)
    {
        ordinal = -1;
        if (*reinterpret_cast<const WORD*>(m_at) != 0xFFFF)
            return Text();
        Next<WORD>();
        ordinal = Next<WORD>();
        return std::string();
    }
    void Skip(size_t bytes) { m_at += bytes; }
    void AlignDword() { m_at += (4 - (m_at - m_start) % 4) % 4; }

private:
    const BYTE* m_start;
    const BYTE* m_at;
};

const char* const kPredefinedClasses[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"};
}  // namespace

void ExpectTemplate(int id, const char* caption, short cx, short cy, DWORD style, DWORD exStyle,
                    const std::vector<ExpectedControl>& controls)
{
    HRSRC resource = ::FindResourceA(nullptr, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));
    ASSERT_NE(nullptr, resource);
    Reader reader(static_cast<const BYTE*>(::LockResource(::LoadResource(nullptr, resource))));
    ASSERT_EQ(MAKELONG(1, 0xFFFF), reader.Next<DWORD>()) << "not an extended template";
    reader.Next<DWORD>();  // help id
    EXPECT_EQ(exStyle, reader.Next<DWORD>());
    DWORD windowStyle = reader.Next<DWORD>();
    EXPECT_EQ(style, windowStyle & ~static_cast<DWORD>(DS_SETFONT));
    ASSERT_EQ(controls.size(), reader.Next<WORD>());
    reader.Skip(4);  // x, y
    EXPECT_EQ(cx, reader.Next<short>());
    EXPECT_EQ(cy, reader.Next<short>());
    int ordinal;
    reader.TextOrOrdinal(ordinal);  // menu
    reader.TextOrOrdinal(ordinal);  // window class
    EXPECT_EQ(caption, reader.Text());
    ASSERT_TRUE(windowStyle & DS_SETFONT);
    EXPECT_EQ(8, reader.Next<WORD>());
    reader.Skip(4);  // weight, italic, character set
    EXPECT_EQ("MS Sans Serif", reader.Text());

    for (const ExpectedControl& expected : controls) {
        SCOPED_TRACE(std::string("control \"") + expected.text + "\" " + std::to_string(expected.id));
        reader.AlignDword();
        reader.Next<DWORD>();  // help id
        EXPECT_EQ(expected.exStyle, reader.Next<DWORD>());
        EXPECT_EQ(expected.style | WS_CHILD, reader.Next<DWORD>());
        EXPECT_EQ(expected.x, reader.Next<short>());
        EXPECT_EQ(expected.y, reader.Next<short>());
        EXPECT_EQ(expected.cx, reader.Next<short>());
        EXPECT_EQ(expected.cy, reader.Next<short>());
        EXPECT_EQ(static_cast<WORD>(expected.id), static_cast<WORD>(reader.Next<DWORD>()));
        int classOrdinal;
        std::string className = reader.TextOrOrdinal(classOrdinal);
        if (classOrdinal >= 0x80 && classOrdinal <= 0x85)
            className = kPredefinedClasses[classOrdinal - 0x80];
        // Class names do not depend on case; the resource compiler may
        // store them in capitals.
        EXPECT_EQ(0, lstrcmpiA(expected.className, className.c_str())) << className;
        int image;
        EXPECT_EQ(expected.text, reader.TextOrOrdinal(image));
        EXPECT_EQ(expected.image, image);
        reader.Skip(reader.Next<WORD>());  // creation data
    }
}
