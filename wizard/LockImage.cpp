#include "wizard/LockImage.h"

#include "framework/MessageBox.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsStore.h"

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

    CSettingsStore store(Settings::kFileName);
    if (!store.WriteString(Settings::kImage, path))
        AfxMessageBox("The image was not changed: the settings file Vellmoran.bin is in use by another "
                      "program or cannot be opened. Try again in a moment.",
                      MB_ICONEXCLAMATION);
}
