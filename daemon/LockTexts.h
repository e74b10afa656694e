#pragma once

#include <windows.h>

#include <string>

// The lock screen's texts, the idle notice's and the report after the
// unlock. Times come in as the user's locale shows them.

// "14:02" as the user's locale writes the time of day.
std::string TimeText(const SYSTEMTIME& time);
// "Monday, 7 December 2026" in the user's long date format.
std::string DateText(const SYSTEMTIME& time);

// "NAME is away since 14:02"; "Away since 14:02" without a name.
std::string AwayText(const std::string& user, const std::string& since);
// "2 wrong passwords since 14:03"; empty for none.
std::string WrongCountText(int wrong, const std::string& since);
// "Try again in 4 seconds."
std::string WaitText(DWORD remainingMs);
// "Vellmoran locks the screen in 10 seconds"
std::string IdleNoticeText(DWORD secondsLeft);
// The balloon after the unlock; empty when no wrong password was typed.
std::string UnlockReport(int wrong, const std::string& last);
