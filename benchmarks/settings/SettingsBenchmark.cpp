// Prints what one settings operation costs against the bare open and close
// of the same file, and what one scramble of the longest password costs.
// A save of five keys opens the file five times, so the store should cost no
// more than about twice a bare open and close.
#include "framework/WinApp.h"
#include "settings/PasswordScrambler.h"
#include "settings/SettingsStore.h"

#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {
const int kRounds = 20;
const int kCallsPerRound = 500;

std::string SettingsPath()
{
    std::string path = AfxGetModulePath();
    return path.substr(0, path.rfind('\\')) + "\\Vellmoran.bin";
}

struct Measurement {
    const char* name;
    std::function<void()> call;
    double best;  // microseconds per call
};

// The rounds of all measurements take turns, and each keeps its best round:
// the one least disturbed by whatever else the machine does at the time.
void Measure(std::vector<Measurement>& measurements)
{
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    for (Measurement& m : measurements)
        m.best = 1e30;
    for (int round = 0; round < kRounds; ++round) {
        for (Measurement& m : measurements) {
            LARGE_INTEGER start, end;
            ::QueryPerformanceCounter(&start);
            for (int i = 0; i < kCallsPerRound; ++i)
                m.call();
            ::QueryPerformanceCounter(&end);
            double perCall = 1e6 * static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart /
                             kCallsPerRound;
            if (perCall < m.best)
                m.best = perCall;
        }
    }
}
}  // namespace

int main()
{
    const std::string path = SettingsPath();
    ::DeleteFileA(path.c_str());
    CSettingsStore store("Vellmoran.bin");
    for (const char* key : {"m_nVirtualKey", "m_bScreenwipe", "m_bScreensaver", "m_nVelocity", "m_nDelay", "m_csCode"})
        store.WriteInt(key, 1);

    std::vector<Measurement> measurements = {
        {"CreateFileA + CloseHandle", [&path] {
             HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr);
             ::CloseHandle(file);
         }, 0},
        // The last record: the longest scan.
        {"WriteInt, 6th of 6 records", [&store] { store.WriteInt("m_csCode", 5); }, 0},
        {"ReadInt, 6th of 6 records", [&store] {
             int value = 0;
             store.ReadInt("m_csCode", value);
         }, 0},
        {"WriteInt, 1st of 6 records", [&store] { store.WriteInt("m_nVirtualKey", 5); }, 0},
        {"ScramblePassword, 32 chars", [] {
             std::string password = "abcdefghijklmnopqrstuvwxyz012345";
             ScramblePassword(password);
         }, 0},
    };
    Measure(measurements);
    ::DeleteFileA(path.c_str());

    double bare = measurements[0].best;
    for (const Measurement& m : measurements)
        std::printf("%-28s %8.1f us  (%.2f x the bare open and close)\n", m.name, m.best, m.best / bare);
    return 0;
}
