#pragma once

#include "framework/Controls.h"

// The edit box of the "Activation key" page. Typing never reaches the edit:
// every key-down replaces the text by the name of the key's virtual-key code
// and remembers the code, which is what the settings store keeps.
class CHotKeyEdit : public CEdit {
public:
    CHotKeyEdit() = default;
    ~CHotKeyEdit() override;

    // Shows the name of the code; a code without a name empties the text and
    // leaves m_nKeyCode at 0.
    void SetKey(int code);
    // Sets m_nKeyCode to the code and text to its name when the code has
    // one, else to 0 and an empty text. text holds at least 256 characters.
    void VirtualKeyName(UINT code, char* text);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    int m_nKeyCode = 0;

protected:
    // Gaining and losing the focus stay those of a plain edit box.
    LRESULT OnFocusChange(WPARAM wParam, LPARAM lParam);

    BEGIN_MSG_MAP(CHotKeyEdit, CEdit)
        ON_MESSAGE(WM_SETFOCUS, OnFocusChange)
        ON_MESSAGE(WM_KILLFOCUS, OnFocusChange)
    END_MSG_MAP()
};
