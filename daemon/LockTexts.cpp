#include "daemon/LockTexts.h"

namespace {
std::string Count(int n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}
}  // namespace

std::string TimeText(const SYSTEMTIME& time)
{
    char text[64] = "";
    ::GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &time, nullptr, text, sizeof(text));
    return text;
}

std::string DateText(const SYSTEMTIME& time)
{
    char text[128] = "";
    ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, &time, nullptr, text, sizeof(text));
    return text;
}

std::string AwayText(const std::string& user, const std::string& since)
{
    return (user.empty() ? "Away" : user + " is away") + " since " + since;
}

std::string WrongCountText(int wrong, const std::string& since)
{
    return wrong > 0 ? Count(wrong, "wrong password", "wrong passwords") + " since " + since : "";
}

std::string WaitText(DWORD remainingMs)
{
    return "Try again in " + Count(static_cast<int>((remainingMs + 999) / 1000), "second", "seconds") + ".";
}

std::string IdleNoticeText(DWORD secondsLeft)
{
    return "Vellmoran locks the screen in " + Count(static_cast<int>(secondsLeft), "second", "seconds");
}

std::string UnlockReport(int wrong, const std::string& last)
{
    if (wrong <= 0)
        return "";
    return Count(wrong, "wrong password was", "wrong passwords were")
           + " typed while the screen was locked, the last at " + last + ".";
}
