#include "daemon/DaemonSettings.h"

#include "settings/KeyNames.h"
#include "settings/SecureWipe.h"
#include "settings/SettingsBatch.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsStore.h"

DaemonSettings::~DaemonSettings()
{
    SecureWipe(code);
}

bool ReadDaemonSettings(const std::string& fileName, DaemonSettings& settings)
{
    CSettingsStore store(fileName);
    DaemonSettings read;
    try {
        CSettingsBatch batch(store, CSettingsBatch::readOnly);
        if (batch.Opened() != SettingsOpen::opened)
            return false;
        int value = 0;
        // Only a key the wizard can show: a stored letter would lock the
        // screen at every word typed with it.
        if (batch.ReadInt(Settings::kVirtualKey, value) == SettingsRead::found
            && VirtualKeyText(static_cast<unsigned int>(value)) != nullptr)
            read.virtualKey = value;
        value = 0;
        batch.ReadInt(Settings::kScreenwipe, value);
        read.screenwipe = value != 0;
        value = 0;
        batch.ReadInt(Settings::kScreensaver, value);
        read.screensaver = value != 0;
        // A stored 0 means "not set", as the wizard reads it; other values
        // outside the slider's range go to its nearer end.
        value = 0;
        if (batch.ReadInt(Settings::kVelocity, value) == SettingsRead::found && value != 0)
            read.velocityMs = value < Settings::kMinVelocity   ? Settings::kMinVelocity
                              : value > Settings::kMaxVelocity ? Settings::kMaxVelocity
                                                               : value;
        // A delay of 0 reads as 5, as the wizard shows it and would save it;
        // negative is not set either.
        if (batch.ReadInt(Settings::kDelay, value) == SettingsRead::found && value > 0)
            read.delayMinutes = value > Settings::kMaxDelay ? Settings::kMaxDelay : value;
        batch.ReadString(Settings::kCode, read.code);
        batch.ReadString(Settings::kImage, read.image);
    } catch (const CFileException&) {
        return false;
    }
    settings = read;
    return true;
}
