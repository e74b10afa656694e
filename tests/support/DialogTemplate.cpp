#include "tests/support/DialogTemplate.h"

#include <stdexcept>

namespace {
class Reader {
public:
    explicit Reader(const BYTE* data) : m_start(data), m_at(data) {}

    WORD Word()
    {
        WORD value;
        memcpy(&value, m_at, sizeof(value));
        m_at += sizeof(value);
        return value;
    }
    DWORD Dword()
    {
        DWORD value;
        memcpy(&value, m_at, sizeof(value));
        m_at += sizeof(value);
        return value;
    }
    std::string WideString()
    {
        std::string text;
        for (WORD c = Word(); c != 0; c = Word())
            text += static_cast<char>(c);
        return text;
    }
    // A string or an ordinal (0xFFFF followed by the number).
    std::string StringOrOrdinal(int& ordinal)
    {
        ordinal = -1;
        WORD first;
        memcpy(&first, m_at, sizeof(first));
        if (first == 0xFFFF) {
            Word();
            ordinal = Word();
            return std::string();
        }
        return WideString();
    }
    void AlignDword()
    {
        while ((m_at - m_start) % 4 != 0)
            ++m_at;
    }
    void Skip(size_t bytes) { m_at += bytes; }

private:
    const BYTE* m_start;
    const BYTE* m_at;
};

std::string PredefinedClass(int ordinal)
{
    switch (ordinal) {
    case 0x80: return "Button";
    case 0x81: return "Edit";
    case 0x82: return "Static";
    case 0x83: return "ListBox";
    case 0x84: return "ScrollBar";
    case 0x85: return "ComboBox";
    default: return "#" + std::to_string(ordinal);
    }
}
}  // namespace

DialogTemplate LoadDialogTemplate(int id)
{
    HRSRC resource = ::FindResourceA(nullptr, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));
    if (resource == nullptr)
        throw std::runtime_error("no dialog template " + std::to_string(id));
    const BYTE* data = static_cast<const BYTE*>(::LockResource(::LoadResource(nullptr, resource)));
    Reader reader(data);
    if (reader.Word() != 1 || reader.Word() != 0xFFFF)
        throw std::runtime_error("not an extended dialog template");

    DialogTemplate result;
    reader.Dword();  // help id
    result.exStyle = reader.Dword();
    result.style = reader.Dword();
    WORD count = reader.Word();
    result.x = static_cast<short>(reader.Word());
    result.y = static_cast<short>(reader.Word());
    result.cx = static_cast<short>(reader.Word());
    result.cy = static_cast<short>(reader.Word());
    int ordinal;
    reader.StringOrOrdinal(ordinal);  // menu
    reader.StringOrOrdinal(ordinal);  // window class
    result.caption = reader.WideString();
    result.pointSize = 0;
    if (result.style & DS_SETFONT) {
        result.pointSize = reader.Word();
        reader.Word();  // weight
        reader.Skip(2);  // italic, charset
        result.font = reader.WideString();
    }
    for (WORD i = 0; i < count; ++i) {
        reader.AlignDword();
        TemplateControl control;
        reader.Dword();  // help id
        control.exStyle = reader.Dword();
        control.style = reader.Dword();
        control.x = static_cast<short>(reader.Word());
        control.y = static_cast<short>(reader.Word());
        control.cx = static_cast<short>(reader.Word());
        control.cy = static_cast<short>(reader.Word());
        control.id = static_cast<int>(reader.Dword());
        int classOrdinal;
        control.className = reader.StringOrOrdinal(classOrdinal);
        if (classOrdinal >= 0)
            control.className = PredefinedClass(classOrdinal);
        control.text = reader.StringOrOrdinal(control.textOrdinal);
        reader.Skip(reader.Word());  // creation data
        result.controls.push_back(control);
    }
    return result;
}

void ExpectTemplate(int id, const char* caption, short cx, short cy, DWORD style, DWORD exStyle,
                    const std::vector<ExpectedControl>& controls)
{
    DialogTemplate dialog = LoadDialogTemplate(id);
    EXPECT_EQ(caption, dialog.caption);
    EXPECT_EQ(cx, dialog.cx);
    EXPECT_EQ(cy, dialog.cy);
    EXPECT_EQ(style, dialog.style & ~static_cast<DWORD>(DS_SETFONT));
    EXPECT_EQ(exStyle, dialog.exStyle);
    EXPECT_EQ("MS Sans Serif", dialog.font);
    EXPECT_EQ(8, dialog.pointSize);
    ASSERT_EQ(controls.size(), dialog.controls.size());
    for (size_t i = 0; i < controls.size(); ++i) {
        const ExpectedControl& expected = controls[i];
        const TemplateControl& control = dialog.controls[i];
        SCOPED_TRACE("control " + std::to_string(i + 1) + " \"" + expected.text + "\"");
        EXPECT_EQ(static_cast<WORD>(expected.id), static_cast<WORD>(control.id));
        // Class names do not depend on case; the resource compiler may store
        // them in capitals.
        EXPECT_EQ(0, lstrcmpiA(expected.className, control.className.c_str())) << control.className;
        EXPECT_EQ(expected.text, control.text);
        EXPECT_EQ(expected.image, control.textOrdinal);
        EXPECT_EQ(expected.x, control.x);
        EXPECT_EQ(expected.y, control.y);
        EXPECT_EQ(expected.cx, control.cx);
        EXPECT_EQ(expected.cy, control.cy);
        EXPECT_EQ(expected.style | WS_CHILD, control.style);
        EXPECT_EQ(expected.exStyle, control.exStyle);
    }
}
