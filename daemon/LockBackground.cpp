#include "daemon/LockBackground.h"

#include <cstring>

namespace {
const COLORREF kGround = RGB(18, 20, 26);
}  // namespace

RECT FitCentred(SIZE image, const RECT& area)
{
    LONG width = area.right - area.left, height = area.bottom - area.top;
    RECT fit = area;
    if (image.cx <= 0 || image.cy <= 0)
        return fit;
    // Compare the proportions in 64 bits: no overflow for any screen.
    if (static_cast<LONGLONG>(image.cx) * height > static_cast<LONGLONG>(image.cy) * width) {
        LONG fitHeight = static_cast<LONG>(static_cast<LONGLONG>(width) * image.cy / image.cx);
        fit.top = area.top + (height - fitHeight) / 2;
        fit.bottom = fit.top + fitHeight;
    } else {
        LONG fitWidth = static_cast<LONG>(static_cast<LONGLONG>(height) * image.cx / image.cy);
        fit.left = area.left + (width - fitWidth) / 2;
        fit.right = fit.left + fitWidth;
    }
    return fit;
}

CLockBackground::CLockBackground(const CheckedBitmap* image)
{
    if (image == nullptr)
        return;
    void* bits = nullptr;
    m_hBitmap = ::CreateDIBSection(nullptr, image->Info(), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (m_hBitmap == nullptr)
        return;
    std::memcpy(bits, image->pixels.data(), image->pixels.size());
    m_size = {image->Width(), image->Height()};
}

CLockBackground::~CLockBackground()
{
    if (m_hBitmap != nullptr)
        ::DeleteObject(m_hBitmap);
}

void CLockBackground::Paint(HDC dc, const RECT& client, const RECT& area, bool smooth) const
{
    HBRUSH ground = ::CreateSolidBrush(kGround);
    ::FillRect(dc, &client, ground);
    ::DeleteObject(ground);
    if (m_hBitmap == nullptr || m_size.cx <= 0 || m_size.cy <= 0)
        return;
    RECT fit = FitCentred(m_size, area);
    HDC source = ::CreateCompatibleDC(dc);
    HGDIOBJ old = ::SelectObject(source, m_hBitmap);
    ::SetStretchBltMode(dc, smooth ? HALFTONE : COLORONCOLOR);
    ::SetBrushOrgEx(dc, 0, 0, nullptr);
    ::StretchBlt(dc, fit.left, fit.top, fit.right - fit.left, fit.bottom - fit.top, source, 0, 0, m_size.cx,
                 m_size.cy, SRCCOPY);
    ::SelectObject(source, old);
    ::DeleteDC(source);
}
