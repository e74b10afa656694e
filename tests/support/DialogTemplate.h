#pragma once

#include <windows.h>

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
