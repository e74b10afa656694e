#include "settings/SettingsFileReport.h"

#include "framework/MessageBox.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsStore.h"

namespace {
std::string Cause(const CSettingsBatch& batch)
{
    switch (batch.Opened()) {
    case SettingsOpen::held:
        return "The settings file is in use by another program";
    case SettingsOpen::accessDenied:
        return "The settings file is read-only or access to it is denied";
    case SettingsOpen::notAFile:
        return std::string("The settings file ") + Settings::kFileName + " is a folder, not a file";
    case SettingsOpen::failed:
        return "The settings file cannot be opened (system error " + std::to_string(batch.OpenError()) + ")";
    case SettingsOpen::opened:
        break;
    }
    return "The settings file is damaged at its end";
}
}  // namespace

std::string SettingsFileRefusal(const CSettingsBatch& batch, const std::string& notDone,
                                const std::string& retryAdvice)
{
    std::string text = Cause(batch) + ", so " + notDone + ".";
    if (batch.Opened() == SettingsOpen::held && !retryAdvice.empty())
        text += " " + retryAdvice;
    return text;
}

RepairAnswer OfferToRepairDamagedEnd(CSettingsBatch& batch, const std::string& afterRepair)
{
    std::string question =
        "The settings file is damaged at its end: its last " + std::to_string(batch.DamagedEndLength()) +
        " bytes are not a whole setting, so no setting can be added to it.\n\n"
        "Repair it? The damaged bytes are kept in a new file beside it, " + Settings::kFileName +
        ".damaged, the settings file is cut back to its whole settings, and then " + afterRepair + ".";
    if (AfxMessageBox(question, MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return RepairAnswer::declined;
    return batch.CutDamagedEnd().empty() ? RepairAnswer::copyFailed : RepairAnswer::repaired;
}

std::string RepairRefusal(const std::string& notDone)
{
    return "The damaged end of the settings file could not be kept in a copy beside it, so the file was not "
           "repaired and " + notDone + ".";
}

bool SaveSettingsRecords(const std::vector<std::pair<std::string, std::string>>& records,
                         const std::string& afterRepair, const std::string& notDone, const std::string& retryAdvice)
{
    std::string refusal;
    {
        CSettingsStore store(Settings::kFileName);
        CSettingsBatch batch(store);
        SettingsWrite result = batch.WriteAll(records);
        if (result == SettingsWrite::written)
            return true;
        RepairAnswer answer = RepairAnswer::declined;
        if (result == SettingsWrite::damagedEnd)
            answer = OfferToRepairDamagedEnd(batch, afterRepair);
        // Cut back to whole records, the file takes any new record.
        if (answer == RepairAnswer::repaired && batch.WriteAll(records) == SettingsWrite::written)
            return true;
        refusal = answer == RepairAnswer::copyFailed ? RepairRefusal(notDone)
                                                     : SettingsFileRefusal(batch, notDone, retryAdvice);
    }
    // The file is free again while the user reads why.
    AfxMessageBox(refusal, MB_ICONEXCLAMATION);
    return false;
}
