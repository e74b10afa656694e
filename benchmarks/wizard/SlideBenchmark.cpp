// Times one page slide of the settings wizard, as built (each step's moves in
// one batch) and with the moves made one by one as before, then what its
// parts cost on this machine: moving the 33 controls once (the floor of
// every step) and repainting them once, with a few ways of making the same
// steps cheaper.
// Prints milliseconds. Opens the wizard, so it creates Vellmoran.bin beside
// itself if there is none.
#include "res/resource.h"
#include "wizard/PageSlide.h"
#include "wizard/SettingsDlg.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {
const int kRuns = 5;
// Slides per path and direction.
const int kSlideRuns = 6;

double Milliseconds(const std::function<void()>& action)
{
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    action();
    ::QueryPerformanceCounter(&end);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Report(const std::string& what, const std::vector<double>& runs)
{
    std::printf("%-52s median %8.2f ms  (min %.2f, max %.2f)\n", what.c_str(), Median(runs),
                *std::min_element(runs.begin(), runs.end()), *std::max_element(runs.begin(), runs.end()));
}

std::vector<HWND> Children(HWND dialog)
{
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

RECT ClientRectOf(HWND dialog, HWND child)
{
    RECT rect;
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// One step of the slide's moves, as the wizard makes them.
void MoveAll(HWND dialog, const std::vector<HWND>& children, int dx, BOOL repaint = TRUE)
{
    for (HWND child : children) {
        RECT rect = ClientRectOf(dialog, child);
        ::MoveWindow(child, rect.left + dx, rect.top, rect.right - rect.left, rect.bottom - rect.top, repaint);
    }
}

// The same step in one batch: the window manager applies all moves at once.
void DeferAll(HWND dialog, const std::vector<HWND>& children, int dx)
{
    HDWP batch = ::BeginDeferWindowPos(static_cast<int>(children.size()));
    for (HWND child : children) {
        RECT rect = ClientRectOf(dialog, child);
        batch = ::DeferWindowPos(batch, child, nullptr, rect.left + dx, rect.top, 0, 0,
                                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ::EndDeferWindowPos(batch);
}

int PageWidth(HWND dialog)
{
    RECT gauge;
    ::GetClientRect(::GetDlgItem(dialog, IDC_PAGE_GAUGE), &gauge);
    return gauge.right - gauge.left;
}

void RedrawAll(const std::vector<HWND>& children)
{
    for (HWND child : children)
        ::RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

// The cost of one step, taken `steps` times there and back so that the
// controls end where they started.
std::vector<double> PerStep(int steps, const std::function<void(int)>& step)
{
    std::vector<double> runs;
    for (int run = 0; run < kRuns; ++run) {
        double total = Milliseconds([&] {
            for (int i = 0; i < steps; ++i)
                step(-1);
            for (int i = 0; i < steps; ++i)
                step(+1);
        });
        runs.push_back(total / (2.0 * steps));
    }
    return runs;
}

// The slide as it was before its moves were batched: each window moved on
// its own, with the same redraw schedule. Kept here only to compare.
void OneByOneSlide(HWND dialog, int pageWidth, int direction)
{
    std::vector<HWND> children = Children(dialog);
    for (int step = 0; step < pageWidth; ++step) {
        MoveAll(dialog, children, direction);
        if (IsSlideRedrawStep(step, pageWidth))
            RedrawAll(children);
    }
    ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

// Both paths in the same run, alternating, so that a busy machine weighs on
// both alike.
void MeasureSlides(HWND dialog)
{
    int pageWidth = PageWidth(dialog);
    std::vector<double> oneByOne, batched;
    for (int run = 0; run < kSlideRuns; ++run) {
        oneByOne.push_back(Milliseconds([&] { OneByOneSlide(dialog, pageWidth, -1); }));
        oneByOne.push_back(Milliseconds([&] { OneByOneSlide(dialog, pageWidth, +1); }));
        batched.push_back(Milliseconds([&] { ::SendMessageA(dialog, WM_COMMAND, IDC_NEXT_PAGE1, 0); }));
        batched.push_back(Milliseconds([&] { ::SendMessageA(dialog, WM_COMMAND, IDC_BACK_PAGE2, 0); }));
    }
    Report("slide, moves one by one (before)", oneByOne);
    Report("slide, moves batched per step (as built)", batched);
    std::printf("%-52s %8.2f\n\n", "ratio of the medians (as built / before)", Median(batched) / Median(oneByOne));
}

// Controls of the pages that take no part in a slide from page 1 never show
// during it: they could be moved once at the end without changing any step.
std::vector<HWND> ShowingInFirstSlide(HWND dialog, const std::vector<HWND>& children, int pageWidth)
{
    RECT client;
    ::GetClientRect(dialog, &client);
    std::vector<HWND> showing;
    for (HWND child : children) {
        RECT rect = ClientRectOf(dialog, child);
        if (rect.right > 0 && rect.left < client.right + pageWidth)
            showing.push_back(child);
    }
    return showing;
}

// A slide drawn from one picture of both pages would cost a copy of the
// client area per step instead of the window moves.
std::vector<double> PictureCopies(HWND dialog, int pageWidth)
{
    RECT client;
    ::GetClientRect(dialog, &client);
    HDC screen = ::GetDC(dialog);
    HDC picture = ::CreateCompatibleDC(screen);
    HBITMAP bits = ::CreateCompatibleBitmap(screen, client.right + pageWidth, client.bottom);
    HGDIOBJ old = ::SelectObject(picture, bits);
    int offset = 0;
    std::vector<double> runs = PerStep(pageWidth, [&](int dx) {
        offset -= dx;
        ::BitBlt(screen, 0, 0, client.right, client.bottom, picture, offset, 0, SRCCOPY);
        ::GdiFlush();
    });
    ::SelectObject(picture, old);
    ::DeleteObject(bits);
    ::DeleteDC(picture);
    ::ReleaseDC(dialog, screen);
    return runs;
}

void Measure(HWND dialog)
{
    int pageWidth = PageWidth(dialog);
    std::vector<HWND> children = Children(dialog);
    std::printf("page width %d pixels, %zu child windows, %d runs each\n\n", pageWidth, children.size(), kRuns);

    MeasureSlides(dialog);

    std::vector<double> moves = PerStep(pageWidth, [&](int dx) { MoveAll(dialog, children, dx); });
    Report("moving the " + std::to_string(children.size()) + " windows once (floor per step)", moves);
    Report("the same moves without repaint",
           PerStep(pageWidth, [&](int dx) { MoveAll(dialog, children, dx, FALSE); }));
    Report("the same moves in one DeferWindowPos batch",
           PerStep(pageWidth, [&](int dx) { DeferAll(dialog, children, dx); }));
    std::vector<HWND> showing = ShowingInFirstSlide(dialog, children, pageWidth);
    Report("moving only the " + std::to_string(showing.size()) + " windows that show in the slide",
           PerStep(pageWidth, [&](int dx) { MoveAll(dialog, showing, dx); }));
    Report("copying a one-page picture to the window once", PictureCopies(dialog, pageWidth));

    std::vector<double> redraws;
    for (int run = 0; run < kRuns; ++run)
        redraws.push_back(Milliseconds([&] {
                              for (int i = 0; i < 20; ++i)
                                  RedrawAll(children);
                          }) /
                          20.0);
    Report("repainting the " + std::to_string(children.size()) + " windows once", redraws);

    int redrawSteps = 0;
    for (int step = 0; step < pageWidth; ++step)
        redrawSteps += IsSlideRedrawStep(step, pageWidth) ? 1 : 0;
    std::printf("\n%d steps of moves and %d of repaints: %.0f ms moving, %.0f ms repainting\n", pageWidth,
                redrawSteps, pageWidth * Median(moves), redrawSteps * Median(redraws));
    ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void CALLBACK RunOnce(HWND, UINT, UINT_PTR timer, DWORD)
{
    ::KillTimer(nullptr, timer);
    HWND dialog = ::FindWindowA("#32770", "Vellmoran - Settings");
    if (dialog != nullptr) {
        Measure(dialog);
        ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }
}
}  // namespace

int main()
{
    AfxInitCommonControls();
    CSettingsDlg wizard;
    ::SetTimer(nullptr, 0, 500, RunOnce);
    wizard.DoModal();
    return 0;
}
