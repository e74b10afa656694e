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

    int m_nKeyCode = 0;
};
