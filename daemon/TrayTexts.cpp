#include "daemon/TrayTexts.h"

#include "settings/KeyNames.h"

namespace {
const char* HeldKeyName(const DaemonSettings& settings, bool keyHeld)
{
    return keyHeld ? VirtualKeyText(static_cast<unsigned int>(settings.virtualKey)) : nullptr;
}

std::string ArmedBy(const DaemonSettings& settings, bool keyHeld)
{
    std::string list;
    auto add = [&list](const std::string& item) { list += (list.empty() ? "" : ", ") + item; };
    if (const char* key = HeldKeyName(settings, keyHeld))
        add(key);
    if (settings.screenwipe)
        add("screen wipe");
    if (settings.screensaver)
        add(std::to_string(settings.delayMinutes) + (settings.delayMinutes == 1 ? " idle minute" : " idle minutes"));
    return list;
}
}  // namespace

std::string ArmedTip(const DaemonSettings& settings, bool keyHeld)
{
    std::string armedBy = ArmedBy(settings, keyHeld);
    if (armedBy.empty())
        return "Vellmoran is not armed: no activation key, screen wipe or idle lock is set";
    return "Vellmoran is armed: " + armedBy;
}

std::string StartNotice(const DaemonSettings& settings, bool keyHeld)
{
    if (ArmedBy(settings, keyHeld).empty())
        return "Nothing locks the screen yet. To arm Vellmoran, choose an activation key, the screen wipe or "
               "the screensaver lock in the control panel.";
    if (settings.code.empty())
        return "No password is set: the lock opens with Enter until you set one in the control panel.";
    return "";
}

std::string LockNowItem(const DaemonSettings& settings, bool keyHeld)
{
    const char* key = HeldKeyName(settings, keyHeld);
    return key != nullptr ? std::string("Lock now (") + key + ")" : "Lock now";
}
