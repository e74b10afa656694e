#include "wizard/LockImage.h"

#include "settings/SettingsFileReport.h"
#include "settings/SettingsKeys.h"

#include <commdlg.h>

void ChooseLockImage(HWND owner)
{
    char path[MAX_PATH] = "";
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = "Bitmaps (*.bmp)\0*.bmp\0";
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof(path);
    dialog.lpstrTitle = "Lock Image";
    dialog.lpstrDefExt = "bmp";
    // The panel starts the daemon by its bare name from the current
    // directory, which must stay the executable's.
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!::GetOpenFileNameA(&dialog))
        return;

    SaveSettingsRecords({{Settings::kImage, path}}, "the image is changed", "the image was not changed",
                        "Try again in a moment.");
}
