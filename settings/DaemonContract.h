#pragma once

// What the control panel and the lock daemon rely on of each other besides
// the settings file: the names of their executables, side by side in one
// folder, the daemon's window title, by which the panel finds it and asks it
// to end, and the longest password, which the panel lets the user set and
// the lock screen lets him type.
namespace Contract {

const char kPanelFile[] = "Vellmoran.exe";
const char kDaemonFile[] = "VellmoranD.exe";
const char kDaemonWindowTitle[] = "V3LLM0R4ND";
const int kMaxPasswordChars = 32;

}  // namespace Contract
