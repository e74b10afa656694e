#include "wizard/HotKeyEdit.h"

#include <gtest/gtest.h>

#include <map>

namespace {
// The names are the VK_ constants' own names, so the table is checked
// against the platform's header rather than against a copy of itself.
#define KEY(vk) {vk, &#vk[3]}
const std::map<int, std::string> kNamedKeys = {
    KEY(VK_LBUTTON), KEY(VK_RBUTTON), KEY(VK_CANCEL), KEY(VK_MBUTTON),
    KEY(VK_BACK), KEY(VK_TAB), KEY(VK_CLEAR), KEY(VK_RETURN),
    KEY(VK_SHIFT), KEY(VK_CONTROL), KEY(VK_MENU), KEY(VK_PAUSE), KEY(VK_CAPITAL), KEY(VK_KANA),
    KEY(VK_JUNJA), KEY(VK_FINAL), KEY(VK_KANJI),
    KEY(VK_ESCAPE), KEY(VK_CONVERT), KEY(VK_NONCONVERT), KEY(VK_ACCEPT), KEY(VK_MODECHANGE),
    KEY(VK_SPACE), KEY(VK_PRIOR), KEY(VK_NEXT), KEY(VK_END), KEY(VK_HOME),
    KEY(VK_LEFT), KEY(VK_UP), KEY(VK_RIGHT), KEY(VK_DOWN),
    KEY(VK_SELECT), KEY(VK_PRINT), KEY(VK_EXECUTE), KEY(VK_SNAPSHOT), KEY(VK_INSERT), KEY(VK_DELETE),
    KEY(VK_HELP),
    KEY(VK_LWIN), KEY(VK_RWIN), KEY(VK_APPS),
    KEY(VK_NUMPAD0), KEY(VK_NUMPAD1), KEY(VK_NUMPAD2), KEY(VK_NUMPAD3), KEY(VK_NUMPAD4),
    KEY(VK_NUMPAD5), KEY(VK_NUMPAD6), KEY(VK_NUMPAD7), KEY(VK_NUMPAD8), KEY(VK_NUMPAD9),
    KEY(VK_MULTIPLY), KEY(VK_ADD), KEY(VK_SEPARATOR), KEY(VK_SUBTRACT), KEY(VK_DECIMAL), KEY(VK_DIVIDE),
    KEY(VK_F1), KEY(VK_F2), KEY(VK_F3), KEY(VK_F4), KEY(VK_F5), KEY(VK_F6),
    KEY(VK_F7), KEY(VK_F8), KEY(VK_F9), KEY(VK_F10), KEY(VK_F11), KEY(VK_F12),
    KEY(VK_F13), KEY(VK_F14), KEY(VK_F15), KEY(VK_F16), KEY(VK_F17), KEY(VK_F18),
    KEY(VK_F19), KEY(VK_F20), KEY(VK_F21), KEY(VK_F22), KEY(VK_F23), KEY(VK_F24),
    KEY(VK_NUMLOCK), KEY(VK_SCROLL),
    KEY(VK_LSHIFT), KEY(VK_RSHIFT), KEY(VK_LCONTROL), KEY(VK_RCONTROL), KEY(VK_LMENU), KEY(VK_RMENU),
    KEY(VK_PROCESSKEY),
    KEY(VK_ATTN), KEY(VK_CRSEL), KEY(VK_EXSEL), KEY(VK_EREOF), KEY(VK_PLAY), KEY(VK_ZOOM),
    KEY(VK_NONAME), KEY(VK_PA1), KEY(VK_OEM_CLEAR),
};
#undef KEY

// A hot-key edit on a hidden top-level window of its own.
class HotKeyEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_parent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 300, 100, nullptr, nullptr, nullptr, nullptr);
        HWND edit = ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 10, 10,
                                      200, 20, m_parent, nullptr, nullptr, nullptr);
        ASSERT_TRUE(m_edit.SubclassWindow(edit));
    }
    void TearDown() override { ::DestroyWindow(m_parent); }

    void Press(UINT message, WPARAM key) { m_edit.SendMessage(message, key, 1); }
    std::string Text() const { return m_edit.GetWindowText(); }

    HWND m_parent = nullptr;
    CHotKeyEdit m_edit;
};
}  // namespace

TEST_F(HotKeyEditTest, NamesExactlyTheNinetyNineKeysOfItsTable)
{
    ASSERT_EQ(99u, kNamedKeys.size());
    for (int code = -1; code <= 300; ++code) {
        SCOPED_TRACE("code " + std::to_string(code));
        m_edit.SetKey(VK_PAUSE);
        m_edit.SetKey(code);
        auto named = kNamedKeys.find(code);
        if (named == kNamedKeys.end()) {
            EXPECT_EQ("", Text());
            EXPECT_EQ(0, m_edit.m_nKeyCode);
        } else {
            EXPECT_EQ(named->second, Text());
            EXPECT_EQ(code, m_edit.m_nKeyCode);
        }
    }
}

TEST_F(HotKeyEditTest, AKeyDownNamesTheKeyAndLettersOrDigitsClearTheChoice)
{
    Press(WM_KEYDOWN, VK_PAUSE);
    EXPECT_EQ("PAUSE", Text());
    EXPECT_EQ(19, m_edit.m_nKeyCode);
    Press(WM_KEYDOWN, VK_F5);
    EXPECT_EQ("F5", Text());
    EXPECT_EQ(116, m_edit.m_nKeyCode);
    Press(WM_KEYDOWN, 'A');
    EXPECT_EQ("", Text());
    EXPECT_EQ(0, m_edit.m_nKeyCode);
    Press(WM_KEYDOWN, VK_SHIFT);
    Press(WM_KEYDOWN, '7');
    EXPECT_EQ("", Text());
    EXPECT_EQ(0, m_edit.m_nKeyCode);
    Press(WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ("RETURN", Text());
    Press(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ("ESCAPE", Text());
    EXPECT_EQ(27, m_edit.m_nKeyCode);
}

TEST_F(HotKeyEditTest, SwallowsKeyUpsAndCharactersSoTypingInsertsNothing)
{
    Press(WM_KEYDOWN, VK_PAUSE);
    Press(WM_CHAR, 'x');
    Press(WM_KEYUP, VK_PAUSE);
    EXPECT_EQ("PAUSE", Text());
    EXPECT_EQ(19, m_edit.m_nKeyCode);

    // Through the message loop, where TranslateMessage makes a character of
    // the key-down, as for a real key press.
    ::SetFocus(m_edit.m_hWnd);
    ::PostMessageA(m_edit.m_hWnd, WM_KEYDOWN, VK_SPACE, 1);
    ::PostMessageA(m_edit.m_hWnd, WM_KEYUP, VK_SPACE, 0xC0000001);
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    EXPECT_EQ("SPACE", Text());
    EXPECT_EQ(32, m_edit.m_nKeyCode);
}

TEST_F(HotKeyEditTest, LeavesSystemKeysToTheEditControl)
{
    Press(WM_KEYDOWN, VK_PAUSE);
    Press(WM_SYSKEYDOWN, VK_F10);
    Press(WM_SYSKEYDOWN, 'A');
    EXPECT_EQ("PAUSE", Text());
    EXPECT_EQ(19, m_edit.m_nKeyCode);
}

TEST_F(HotKeyEditTest, EditingTheTextChangesOnlyTheDisplay)
{
    m_edit.SetKey(VK_F5);
    m_edit.SendMessage(EM_SETSEL, 0, -1);
    m_edit.SendMessage(WM_CLEAR);
    EXPECT_EQ("", Text());
    EXPECT_EQ(116, m_edit.m_nKeyCode);
}
