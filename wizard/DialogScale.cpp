#include "wizard/DialogScale.h"

#include <cstdlib>

namespace {
// The height of the dialog's font, in its point size, at 96 DPI.
int FontHeightAt96Dpi(HWND dialog)
{
    LOGFONTA font = {};
    HGDIOBJ dialogFont = reinterpret_cast<HGDIOBJ>(::SendMessageA(dialog, WM_GETFONT, 0, 0));
    if (dialogFont == nullptr || !::GetObjectA(dialogFont, sizeof(font), &font))
        return 0;
    HDC screen = ::GetDC(nullptr);
    int points = ::MulDiv(std::abs(font.lfHeight), 72, ::GetDeviceCaps(screen, LOGPIXELSY));
    font.lfHeight = -::MulDiv(points, 96, 72);
    HFONT at96Dpi = ::CreateFontIndirectA(&font);
    HGDIOBJ old = ::SelectObject(screen, at96Dpi);
    TEXTMETRICA metrics = {};
    ::GetTextMetricsA(screen, &metrics);
    ::SelectObject(screen, old);
    ::DeleteObject(at96Dpi);
    ::ReleaseDC(nullptr, screen);
    return metrics.tmHeight;
}
}  // namespace

int ScaledFrom96Dpi(HWND dialog, int pixels)
{
    int at96Dpi = FontHeightAt96Dpi(dialog);
    if (at96Dpi <= 0)
        return pixels;
    RECT baseUnits = {0, 0, 4, 8};
    ::MapDialogRect(dialog, &baseUnits);
    return ::MulDiv(pixels, baseUnits.bottom, at96Dpi);
}
