#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

// A dialog template resource as it is stored, for checking it field by field.
struct TemplateControl {
    DWORD style;
    DWORD exStyle;
    int id;
    short x, y, cx, cy;
    std::string className;  // "Button", "Edit", "Static" for the predefined ordinals
    std::string text;       // empty when the text is an ordinal
    int textOrdinal;        // resource number of a bitmap or icon static, else -1
};

struct DialogTemplate {
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
    std::string caption;
    int pointSize;
    std::string font;
    std::vector<TemplateControl> controls;
};

// Loads a DIALOGEX template from the running executable's resources.
DialogTemplate LoadDialogTemplate(int id);

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

// Checks the window (caption, size in dialog units, exact style apart from
// DS_SETFONT, extended style, "MS Sans Serif" 8 pt) and every control in
// template order.
void ExpectTemplate(int id, const char* caption, short cx, short cy, DWORD style, DWORD exStyle,
                    const std::vector<ExpectedControl>& controls);
