#include "wizard/SettingsDlg.h"

#include "settings/SettingsKeys.h"
#include "settings/SettingsStore.h"

namespace {
// The daemon that "Stop && Configure" has only just asked to end may hold
// the file for a moment longer.
const DWORD kHeldFileWaitMs = 2000;
const DWORD kHeldFileRetryMs = 100;

bool WaitUntilOpenable(CSettingsStore& store)
{
    if (store.CanOpen())
        return true;
    HCURSOR previous = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
    DWORD start = ::GetTickCount();
    bool openable = false;
    while (!openable && ::GetTickCount() - start < kHeldFileWaitMs) {
        ::Sleep(kHeldFileRetryMs);
        openable = store.CanOpen() != 0;
    }
    ::SetCursor(previous);
    return openable;
}
}  // namespace

// A stored 0 means "not set" for the velocity and the delay, as a missing key
// does.
void CSettingsDlg::LoadSettings()
{
    CSettingsStore store(Settings::kFileName);
    bool readable = WaitUntilOpenable(store);

    int keyCode = 0;
    store.ReadInt(Settings::kVirtualKey, keyCode);
    m_ctlHotKey.SetKey(keyCode);

    store.ReadInt(Settings::kScreenwipe, m_bScreenwipe);

    store.ReadInt(Settings::kScreensaver, m_bScreensaver);
    m_ctlDelay.EnableWindow(m_bScreensaver != 0);

    int velocity = 0;
    store.ReadInt(Settings::kVelocity, velocity);
    if (velocity == 0)
        velocity = Settings::kDefaultVelocity;
    m_ctlVelocity.SetPos(velocity);

    store.ReadInt(Settings::kDelay, m_nDelay);
    if (m_nDelay == 0)
        m_nDelay = Settings::kDefaultDelay;

    UpdateData(FALSE);

    // Without this, an OK would silently write the defaults over the stored
    // settings.
    if (!readable)
        AfxMessageBox("The stored settings could not be read: the settings file Vellmoran.bin is in use by "
                      "another program or cannot be opened.\n\n"
                      "The wizard shows the default settings. OK would save them in place of the stored ones.",
                      MB_ICONEXCLAMATION);
}

// Stops at the first key that cannot be written, so that the user learns of
// it and can press OK again once the file is free.
BOOL CSettingsDlg::SaveSettings()
{
    CSettingsStore store(Settings::kFileName);
    bool saved = store.WriteInt(Settings::kVirtualKey, m_ctlHotKey.m_nKeyCode) &&
                 store.WriteInt(Settings::kScreenwipe, m_bScreenwipe) &&
                 store.WriteInt(Settings::kScreensaver, m_bScreensaver) &&
                 store.WriteInt(Settings::kVelocity, m_ctlVelocity.GetPos()) &&
                 store.WriteInt(Settings::kDelay, m_nDelay);
    if (!saved)
        AfxMessageBox("The settings were not saved: the settings file Vellmoran.bin is in use by another "
                      "program or cannot be opened.\n\n"
                      "Wait a moment and press OK again.",
                      MB_ICONEXCLAMATION);
    return saved;
}
