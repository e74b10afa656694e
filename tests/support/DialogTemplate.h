#pragma once

#include <windows.h>

#include <vector>

// One control as a template must hold it. The style is exact apart from
// WS_CHILD (so WS_VISIBLE and WS_TABSTOP are spelt out); image is the
// resource number a bitmap or icon static shows, -1 for a text.
struct ExpectedControl {
    int id;
    const char* className;
    const char* text;
    short x, y, cx, cy;
    DWORD style;
    DWORD exStyle;
    int image;
};

// Reads a DIALOGEX template from the running executable's resources and
// checks the window (caption, size in dialog units, exact style apart from
// DS_SETFONT, extended style, "MS Sans Serif" 8 pt) and every control in
// template order.
void ExpectTemplate(int id, const char* caption, short cx, short cy, DWORD style, DWORD exStyle,
                    const std::vector<ExpectedControl>& controls);
