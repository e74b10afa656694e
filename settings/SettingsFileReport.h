#pragma once

#include "settings/SettingsBatch.h"

#include <string>
#include <utility>
#include <vector>

// What the user is told when the settings file cannot be used, the same in
// every place that reads or writes it: the real cause, what was therefore
// not done, and, only when waiting can help, to try again.

// "<cause>, so <notDone>." followed by the advice when the file is held by
// another program. The cause is the batch's failed open, or else the
// damaged end of its file.
std::string SettingsFileRefusal(const CSettingsBatch& batch, const std::string& notDone,
                                const std::string& retryAdvice = std::string());

// Asks whether to repair a file whose end is damaged; on Yes keeps the
// damaged bytes in a new file beside it and cuts the file back to its whole
// records. The batch keeps the file while the user decides, so the answer
// concerns the file as it was described.
enum class RepairAnswer { repaired, declined, copyFailed };
RepairAnswer OfferToRepairDamagedEnd(CSettingsBatch& batch, const std::string& afterRepair);

// What the user is told when the damaged end could not be copied: nothing
// was changed.
std::string RepairRefusal(const std::string& notDone);

// Writes the records all together or not at all, under one open, offering
// the repair of a damaged end; when they are not written, says why with the
// exclamation icon. True when they were written.
bool SaveSettingsRecords(const std::vector<std::pair<std::string, std::string>>& records,
                         const std::string& afterRepair, const std::string& notDone, const std::string& retryAdvice);
