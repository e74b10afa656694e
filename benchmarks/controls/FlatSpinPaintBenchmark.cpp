// Times one paint of the wizard's delay arrows, with an arrow greyed (the
// dearest look), averaged over many paints. Prints microseconds.
#include "controls/FlatSpin.h"
#include "framework/WinApp.h"

#include <cstdio>

int main()
{
    AfxInitCommonControls();
    HWND top = ::CreateWindowExA(0, "#32770", "", WS_POPUP | WS_VISIBLE, 9, 9, 200, 60, 0, 0, 0, 0);
    // The buddy: the edit just before the arrows.
    ::CreateWindowExA(WS_EX_CLIENTEDGE, "Edit", "30", WS_CHILD | WS_VISIBLE, 10, 10, 63, 23, top, 0, 0, 0);
    HWND spin = ::CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT |
                                  UDS_AUTOBUDDY | UDS_ARROWKEYS, 76, 10, 16, 23, top, 0, 0, 0);
    CFlatSpin flat;
    flat.SubclassWindow(spin);
    ::SendMessageA(spin, UDM_SETRANGE32, 1, 30);
    ::SendMessageA(spin, UDM_SETPOS32, 0, 30);
    const int paints = 1000;
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    for (int i = 0; i < paints; ++i)
        ::InvalidateRect(spin, nullptr, FALSE), ::UpdateWindow(spin);
    ::QueryPerformanceCounter(&end);
    std::printf("one paint, an arrow greyed: %.0f us\n",
                1e6 * static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart / paints);
    ::DestroyWindow(top);
    return 0;
}
