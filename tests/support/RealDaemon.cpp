#include "tests/support/RealDaemon.h"

#include "daemon/LockScreen.h"
#include "daemon/WindowKeeper.h"
#include "framework/Wnd.h"
#include "settings/PasswordScrambler.h"
#include "tests/support/GuiDriver.h"
#include "tests/support/SettingsFile.h"

#include <tlhelp32.h>

#include <fstream>

namespace RealDaemon {
std::string Directory()
{
    return ExecutableDirectory() + "\\daemon";
}

void WriteSettings(const Records& records)
{
    std::ofstream file(Directory() + "\\Vellmoran.bin", std::ios::binary | std::ios::trunc);
    for (const auto& [key, value] : records)
        file << SettingsRecordBytes(key, value);
}

std::string Code(std::string password)
{
    ScramblePassword(password);
    return password;
}

void WriteArmed(const Records& more)
{
    Records records = {{"m_nVirtualKey", "19"}, {"m_csCode", Code("open")}};
    records.insert(records.end(), more.begin(), more.end());
    WriteSettings(records);
}

HWND Main()
{
    return ::FindWindowA(nullptr, "V3LLM0R4ND");
}

HWND Lock()
{
    return ::FindWindowA(CLockScreen::kClassName, nullptr);
}

HWND PasswordBox()
{
    return ::GetDlgItem(Lock(), CLockScreen::kPasswordId);
}

std::string Message()
{
    return CardText(CLockScreen::kMessageId);
}

bool MessageHolds(const std::string& text, bool shows)
{
    return WaitUntil([&] { return (Message().find(text) != std::string::npos) == shows; }, kGuardMs);
}

bool Unlocked()
{
    return WaitUntil([] { return Lock() == nullptr; }, kGuardMs);
}

std::string CardText(int id)
{
    HWND control = ::GetDlgItem(Lock(), id);
    return ::IsWindowVisible(control) ? AfxGetWindowText(control) : "";
}

std::string WhyUncovered()
{
    HWND lock = Lock();
    if (lock == nullptr)
        return "no lock screen";
    RECT rect, screen = VirtualScreen();
    ::GetWindowRect(lock, &rect);
    LONG exStyle = ::GetWindowLongA(lock, GWL_EXSTYLE);
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    bool hasRegion = ::GetWindowRgn(lock, region) != ERROR;
    ::DeleteObject(region);
    if (!::IsWindowVisible(lock) || ::IsIconic(lock))
        return "hidden or minimised";
    if (!::EqualRect(&rect, &screen) || ::GetAncestor(lock, GA_PARENT) != ::GetDesktopWindow())
        return "not over the virtual screen";
    if (!(exStyle & WS_EX_TOPMOST))
        return "not topmost";
    if (exStyle & (WS_EX_LAYERED | WS_EX_TRANSPARENT))
        return "layered or transparent";
    if (hasRegion)
        return "cut by a region";
    if (!::IsWindowEnabled(lock) || !::IsWindowVisible(PasswordBox()))
        return "disabled, or its box hidden";
    return "";
}

bool Covered()
{
    return WhyUncovered().empty();
}

void Press(const std::string& keys)
{
    for (BYTE key : keys) {
        INPUT input[2] = {};
        input[0].type = input[1].type = INPUT_KEYBOARD;
        input[0].ki.wVk = input[1].ki.wVk = key;
        input[1].ki.dwFlags = KEYEVENTF_KEYUP;
        ::SendInput(2, input, sizeof(INPUT));
    }
}

void Pause()
{
    Press("\x13");
}

void Click(POINT point)
{
    INPUT input[3] = {};
    LONG width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
    for (INPUT& one : input) {
        one.type = INPUT_MOUSE;
        one.mi.dx = point.x * 65535 / (width - 1);
        one.mi.dy = point.y * 65535 / (height - 1);
    }
    input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    input[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(3, input, sizeof(INPUT));
}

namespace {
// Calls the action with the id of each daemon process; returns their count.
int ForEachDaemonProcess(void (*action)(DWORD id))
{
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    int count = 0;
    for (BOOL more = ::Process32First(snapshot, &entry); more;
         more = ::Process32Next(snapshot, &entry))
        if (lstrcmpiA(entry.szExeFile, "VellmoranD.exe") == 0) {
            ++count;
            action(entry.th32ProcessID);
        }
    ::CloseHandle(snapshot);
    return count;
}
}  // namespace

int DaemonProcessCount()
{
    return ForEachDaemonProcess([](DWORD) {});
}

void EndAll()
{
    // Again until none is left: each process starts the other anew when it
    // sees it die.
    auto end = [](DWORD id) {
        if (HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)) {
            ::TerminateProcess(process, 1);
            ::WaitForSingleObject(process, kGuardMs);
            ::CloseHandle(process);
        }
    };
    WaitUntil([&] { return ForEachDaemonProcess(end) == 0; }, kGuardMs);
}

// In a job, which the processes that the daemon starts join as well: ending
// the job ends them all, also one that is being started.
Process::Process() : m_hJob(::CreateJobObjectA(nullptr, nullptr))
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    std::string commandLine = "\"" + Directory() + "\\VellmoranD.exe\"";
    ::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                     Directory().c_str(), &startup, &m);
    ::AssignProcessToJobObject(m_hJob, m.hProcess);
    ::ResumeThread(m.hThread);
}

Process::~Process()
{
    ::TerminateJobObject(m_hJob, 1);
    EndAll();
    ::CloseHandle(m_hJob);
    ::CloseHandle(m.hProcess);
    ::CloseHandle(m.hThread);
}

bool Process::Ended() const
{
    return ::WaitForSingleObject(m.hProcess, kGuardMs) == WAIT_OBJECT_0;
}

bool Process::LockBy(void (*trigger)()) const
{
    return WaitUntil([&] { return trigger(), WaitUntil(Covered, 500); }, kGuardMs);
}
}  // namespace RealDaemon
