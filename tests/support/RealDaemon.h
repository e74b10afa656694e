#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

// The real daemon, run from a directory of its own beside its own settings,
// so that it never meets the panel tests' double.
namespace RealDaemon {
// A hang guard only; everything waits for conditions.
const DWORD kGuardMs = 30000;

std::string Directory();
using Records = std::vector<std::pair<std::string, std::string>>;
void WriteSettings(const Records& records);
// The scrambled code of a password, as the settings file holds it.
std::string Code(std::string password);
// Settings that arm Pause with the password "open", then the records given.
void WriteArmed(const Records& more = {});

// The daemon's hidden main window, its lock screen and the lock screen's
// children.
HWND Main();
HWND Lock();
HWND PasswordBox();
std::string Message();
// Waits until the message line holds the text (or, with `shows` false, no
// longer holds it).
bool MessageHolds(const std::string& text, bool shows = true);
// Waits until no lock screen is left.
bool Unlocked();
// The text a control of the lock's card shows; empty when it is hidden.
std::string CardText(int id);
// Why the screen is not covered as a lock must cover it (shown, whole,
// over the virtual screen, on top, taking no transparency); empty when it
// is.
std::string WhyUncovered();
bool Covered();

// Presses and releases each virtual key of the string as a user would:
// "OPEN\r" types "open" and Enter, "\x13" is Pause.
void Press(const std::string& keys);
void Pause();
// A click with the left button at a point of the screen.
void Click(POINT point);

// Ends every daemon process at once, as Task Manager would.
void EndAll();
// How many daemon processes run.
int DaemonProcessCount();

// Starts VellmoranD.exe as the panel does, and ends all its processes at the
// end of the scope.
struct Process {
    Process();
    ~Process();
    Process(const Process&) = delete;
    // The process started ends (a second daemon does so at once).
    bool Ended() const;
    // Repeats the trigger until the screen is covered: the daemon arms it
    // only once it has read its settings.
    bool LockBy(void (*trigger)()) const;

    HANDLE m_hJob;
    PROCESS_INFORMATION m = {};
};
}  // namespace RealDaemon
