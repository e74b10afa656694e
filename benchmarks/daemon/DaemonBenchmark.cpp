// Measures the lock daemon beside this executable, run from a directory of
// its own (daemon-benchmark\) with every trigger armed and no password:
// - from the activation key's press (SendInput) to the lock screen being
//   shown, and to its being painted on the screen, over several rounds,
//   medians; and the frames seen on the way that are neither the desktop
//   nor the finished lock screen (half-drawn ones);
// - the CPU time its processes use while armed and idle for 60 s, and while
//   locked for 60 s, as a share of one core (under Wine, which gives no
//   times of other processes, run it through cpu-from-proc.sh);
// - from the death of the process that shows the lock (TerminateProcess, as
//   a crash) to the screen covered again, over 20 rounds, median;
// - its working set, armed and unlocked.
// An argument names a bitmap for the lock screen to show; a second one, a
// folder where each half-drawn frame is saved as a bitmap. Under Wine this counts Wine's own
//   libraries mapped into every process: compare with any other small
//   program run the same way.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {
const int kRounds = 20;
const int kDeaths = 20;
const DWORD kIdleMs = 60000;
const DWORD kLockedMs = 60000;  // so that the clock changes at least once

std::string Directory()
{
    char path[MAX_PATH];
    std::string module(path, ::GetModuleFileNameA(nullptr, path, MAX_PATH));
    return module.substr(0, module.rfind('\\'));
}

std::string Record(const std::string& key, const std::string& value)
{
    std::string record(2176, '\0');
    record.replace(0, key.size(), key);
    record.replace(128, value.size(), value);
    return record.substr(0, 2176);
}

void Press(WORD key)
{
    INPUT events[2] = {};
    for (INPUT& event : events)
        event.type = INPUT_KEYBOARD, event.ki.wVk = key;
    events[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, events, sizeof(INPUT));
}

// The lock screen shown by a process other than the one given (0: any).
HWND VisibleLock(DWORD notOf = 0)
{
    for (HWND w = nullptr; (w = ::FindWindowExA(nullptr, w, "VellmoranLockScreen", nullptr)) != nullptr;) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(w, &owner);
        if (owner != notOf && ::IsWindowVisible(w))
            return w;
    }
    return nullptr;
}

// A pixel of the lock screen's card, just below its top edge (the card is
// 300 pixels high at 96 DPI), shows the card's colour once the lock screen
// has been painted.
bool LockPainted()
{
    HDC screen = ::GetDC(nullptr);
    int below = ::MulDiv(150, ::GetDeviceCaps(screen, LOGPIXELSY), 96) - 4;
    COLORREF pixel = ::GetPixel(screen, ::GetSystemMetrics(SM_CXSCREEN) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2 - below);
    ::ReleaseDC(nullptr, screen);
    return pixel == RGB(40, 44, 54);
}

// One copy of the whole screen, and the grid of 32 by 24 pixels that frames
// are compared by.
struct Frame {
    int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
    std::vector<DWORD> pixels, grid;

    Frame() : pixels(static_cast<size_t>(width) * height)
    {
        BITMAPINFO info = Info();
        void* bits = nullptr;
        HDC screen = ::GetDC(nullptr), copy = ::CreateCompatibleDC(screen);
        HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = ::SelectObject(copy, bitmap);
        ::BitBlt(copy, 0, 0, width, height, screen, 0, 0, SRCCOPY);
        std::copy_n(static_cast<DWORD*>(bits), pixels.size(), pixels.begin());
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 32; ++x)
                grid.push_back(pixels[(y * height / 24 + height / 48) * width + x * width / 32 + width / 64]
                               & 0xFFFFFF);  // the colour: the fourth byte differs between copies
        ::SelectObject(copy, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(copy);
        ::ReleaseDC(nullptr, screen);
    }
    BITMAPINFO Info() const
    {
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        return info;
    }
    // As a bitmap file, to look at what a half-drawn frame showed.
    void Save(const std::string& path) const
    {
        BITMAPINFO info = Info();
        DWORD size = static_cast<DWORD>(pixels.size() * 4);
        BITMAPFILEHEADER file = {0x4D42, 54 + size, 0, 0, 54};
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(&file), 14);
        out.write(reinterpret_cast<const char*>(&info.bmiHeader), 40);
        out.write(reinterpret_cast<const char*>(pixels.data()), size);
    }
};

bool WaitFor(bool visible, DWORD timeoutMs, DWORD notOf = 0)
{
    DWORD start = ::GetTickCount();
    while ((VisibleLock(notOf) != nullptr) != visible) {
        if (::GetTickCount() - start > timeoutMs)
            return false;
        ::Sleep(1);
    }
    return true;
}

double Now()
{
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

ULONGLONG CpuTime100ns(HANDLE process)
{
    FILETIME created, ended, kernel, user;
    ::GetProcessTimes(process, &created, &ended, &kernel, &user);
    auto value = [](FILETIME t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return value(kernel) + value(user);
}

// The process that owns the daemon's window: the one that shows the lock.
HANDLE LockProcess()
{
    DWORD pid = 0;
    ::GetWindowThreadProcessId(::FindWindowA(nullptr, "V3LLM0R4ND"), &pid);
    return ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
}

// The CPU time of the guard and the lock process over a time, as a share of
// one core.
void PrintCpu(HANDLE guard, const char* what, DWORD ms)
{
    HANDLE lock = LockProcess();
    ULONGLONG before = CpuTime100ns(guard) + CpuTime100ns(lock);
    double start = Now();
    std::printf("%s: measuring for %lu s\n", what, ms / 1000);  // the marks that cpu-from-proc.sh reads
    std::fflush(stdout);
    ::Sleep(ms);
    double elapsed = Now() - start;
    std::printf("%s: done measuring\n", what);
    std::fflush(stdout);
    ::Sleep(1000);  // for cpu-from-proc.sh to read /proc before anything changes
    double cpuMs = static_cast<double>(CpuTime100ns(guard) + CpuTime100ns(lock) - before) / 10000.0;
    std::printf("%s for %.0f s: CPU time %.1f ms, %.4f %% of one core\n", what, elapsed / 1000.0, cpuMs,
                100.0 * cpuMs / elapsed);
    ::CloseHandle(lock);
}

double Median(std::vector<double>& runs)
{
    std::sort(runs.begin(), runs.end());
    return runs.empty() ? 0 : runs[runs.size() / 2];
}
}  // namespace

int main(int argc, char** argv)
{
    std::string directory = Directory() + "\\daemon-benchmark";
    ::CreateDirectoryA(directory.c_str(), nullptr);
    std::string daemon = directory + "\\VellmoranD.exe";
    if (!::CopyFileA((Directory() + "\\VellmoranD.exe").c_str(), daemon.c_str(), FALSE)) {
        std::printf("VellmoranD.exe not found beside the benchmark\n");
        return 1;
    }
    std::ofstream(directory + "\\Vellmoran.bin", std::ios::binary | std::ios::trunc)
        << Record("m_nVirtualKey", "19") << Record("m_bScreenwipe", "1") << Record("m_bScreensaver", "1")
        << Record("m_nDelay", "5") << Record("m_csImage", argc > 1 ? argv[1] : "");

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    std::string commandLine = "\"" + daemon + "\"";
    if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(),
                          &startup, &process)) {
        std::printf("the daemon did not start\n");
        return 1;
    }
    // Armed once the key locks; nothing locks before the settings are read.
    bool armed = false;
    for (int attempt = 0; attempt < 60 && !armed; ++attempt) {
        Press(VK_PAUSE);
        armed = WaitFor(true, 500);
    }
    if (!armed) {
        std::printf("the daemon never locked\n");
        ::TerminateProcess(process.hProcess, 1);
        return 1;
    }
    Press(VK_RETURN);
    WaitFor(false, 10000);

    std::vector<double> delays, painted;
    int halfDrawn = 0, frames = 0;
    for (int round = 0; round < kRounds; ++round) {
        ::Sleep(300);
        // The card's clock shows the minute: a round starts where the minute
        // cannot change before its finished frame.
        SYSTEMTIME now;
        for (::GetLocalTime(&now); now.wSecond >= 57; ::GetLocalTime(&now))
            ::Sleep(200);
        const Frame desktop;
        std::vector<Frame> seen;
        double start = Now();
        Press(VK_PAUSE);
        // Every frame from the press until 200 ms after the lock is painted,
        // then the finished lock screen once it has settled.
        while (!LockPainted() && Now() - start < 10000)
            seen.emplace_back();
        painted.push_back(Now() - start);
        if (!WaitFor(true, 10000))
            continue;
        delays.push_back(Now() - start);
        while (Now() - start < painted.back() + 200)  // and on, while the box takes the focus
            seen.emplace_back();
        ::Sleep(300);
        const Frame finished;
        for (const Frame& frame : seen)
            if (frame.grid != desktop.grid && frame.grid != finished.grid && ++halfDrawn && argc > 2)
                frame.Save(std::string(argv[2]) + "\\half-drawn-" + std::to_string(halfDrawn) + ".bmp");
        frames += static_cast<int>(seen.size());
        Press(VK_RETURN);
        WaitFor(false, 10000);
    }
    std::printf("half-drawn frames: %d of %d frames seen until 200 ms after the lock was painted, %d rounds\n", halfDrawn,
                frames, kRounds);
    for (auto* runs : {&delays, &painted}) {
        std::sort(runs->begin(), runs->end());
        if (!runs->empty())
            std::printf("key press to lock screen %s: median %.1f ms (min %.1f, max %.1f, %u rounds)\n",
                        runs == &delays ? "shown  " : "painted", (*runs)[runs->size() / 2], runs->front(),
                        runs->back(), static_cast<unsigned>(runs->size()));
    }

    ::Sleep(2000);  // let the last unlock settle
    PrintCpu(process.hProcess, "armed and idle", kIdleMs);
    Press(VK_PAUSE);
    WaitFor(true, 10000);
    PrintCpu(process.hProcess, "locked", kLockedMs);

    std::vector<double> covered;
    for (int round = 0; round < kDeaths; ++round) {
        HANDLE lock = LockProcess();
        DWORD dead = ::GetProcessId(lock);
        double start = Now();
        ::TerminateProcess(lock, 1);
        if (WaitFor(true, 10000, dead))
            covered.push_back(Now() - start);
        ::WaitForSingleObject(lock, 10000);
        ::CloseHandle(lock);
    }
    std::printf("death of the lock process to the screen covered again: median %.1f ms (%u of %d rounds)\n",
                Median(covered), static_cast<unsigned>(covered.size()), kDeaths);
    Press(VK_RETURN);
    WaitFor(false, 10000);

    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof(memory);
    if (::GetProcessMemoryInfo(process.hProcess, &memory, sizeof(memory)))
        std::printf("working set, armed and unlocked: %.2f MB (peak %.2f MB, private %.2f MB)\n",
                    static_cast<double>(memory.WorkingSetSize) / 1048576.0,
                    static_cast<double>(memory.PeakWorkingSetSize) / 1048576.0,
                    static_cast<double>(memory.PagefileUsage) / 1048576.0);
    ::PostMessageA(::FindWindowA(nullptr, "V3LLM0R4ND"), WM_CLOSE, 0, 0);
    ::WaitForSingleObject(process.hProcess, 10000);
    return 0;
}
