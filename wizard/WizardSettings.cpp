#include "wizard/WizardSettings.h"

#include "settings/SettingsBatch.h"
#include "settings/SettingsRecord.h"
#include "settings/SettingsFileReport.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsStore.h"

#include <optional>

namespace {
// The daemon that "Stop && Configure" has only just asked to end may hold
// the file for a moment longer.
const DWORD kHeldFileWaitMs = 2000;
const DWORD kHeldFileRetryMs = 100;

void OpenWaitingWhileHeld(const CSettingsStore& store, std::optional<CSettingsBatch>& batch)
{
    batch.emplace(store);
    if (batch->Opened() != SettingsOpen::held)
        return;
    HCURSOR previous = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
    DWORD start = ::GetTickCount();
    while (batch->Opened() == SettingsOpen::held && ::GetTickCount() - start < kHeldFileWaitMs) {
        ::Sleep(kHeldFileRetryMs);
        batch.emplace(store);
    }
    ::SetCursor(previous);
}
}  // namespace

std::string ReadWizardSettings(WizardSettings& settings)
{
    CSettingsStore store(Settings::kFileName);
    std::optional<CSettingsBatch> batch;
    OpenWaitingWhileHeld(store, batch);
    // A file that may not be written can still be shown; its save will say
    // why it fails.
    if (batch->Opened() == SettingsOpen::accessDenied)
        batch.emplace(store, CSettingsBatch::readOnly);
    if (batch->Opened() != SettingsOpen::opened)
        return SettingsFileRefusal(*batch, "the stored settings could not be read") +
               "\n\nThe wizard shows the default settings. OK would save them in place of the stored ones.";
    batch->ReadInt(Settings::kVirtualKey, settings.virtualKey);
    batch->ReadInt(Settings::kScreenwipe, settings.screenwipe);
    batch->ReadInt(Settings::kScreensaver, settings.screensaver);
    batch->ReadInt(Settings::kVelocity, settings.velocity);
    batch->ReadInt(Settings::kDelay, settings.delay);
    return std::string();
}

bool SaveWizardSettings(const WizardSettings& settings)
{
    return SaveSettingsRecords({{Settings::kVirtualKey, SettingsIntText(settings.virtualKey)},
                                {Settings::kScreenwipe, SettingsIntText(settings.screenwipe)},
                                {Settings::kScreensaver, SettingsIntText(settings.screensaver)},
                                {Settings::kVelocity, SettingsIntText(settings.velocity)},
                                {Settings::kDelay, SettingsIntText(settings.delay)}},
                               "the settings are saved", "the settings were not saved",
                               "Wait a moment and press OK again.");
}
