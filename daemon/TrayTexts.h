#pragma once

#include "daemon/DaemonSettings.h"

#include <string>

// What the tray icon says about the daemon, from its settings and what of
// them it could arm.

// The tooltip: "Vellmoran is armed: F9, screen wipe, 5 idle minutes", or why
// nothing is. keyHeld: the activation key is registered.
std::string ArmedTip(const DaemonSettings& settings, bool keyHeld);

// The balloon when the daemon starts: nothing armed, or armed with no
// password; empty when there is nothing the user must know.
std::string StartNotice(const DaemonSettings& settings, bool keyHeld);

// The menu's lock item, with the activation key when there is one.
std::string LockNowItem(const DaemonSettings& settings, bool keyHeld);
