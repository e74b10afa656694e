#include "daemon/LockBackground.h"

#include <cstring>
#include <vector>

namespace {
const COLORREF kGround = RGB(18, 20, 26);

BOOL CALLBACK AddMonitor(HMONITOR, HDC, RECT* monitor, LPARAM list)
{
    reinterpret_cast<std::vector<RECT>*>(list)->push_back(*monitor);
    return TRUE;
}

void FillGround(HDC dc, const RECT& area)
{
    HBRUSH ground = ::CreateSolidBrush(kGround);
    ::FillRect(dc, &area, ground);
    ::DeleteObject(ground);
}
}  // namespace

RECT CropToFill(SIZE image, SIZE area)
{
    RECT crop = {0, 0, image.cx, image.cy};
    if (image.cx <= 0 || image.cy <= 0 || area.cx <= 0 || area.cy <= 0)
        return crop;
    // Compare the proportions in 64 bits: no overflow for any screen.
    if (static_cast<LONGLONG>(image.cx) * area.cy > static_cast<LONGLONG>(image.cy) * area.cx) {
        LONG width = static_cast<LONG>(static_cast<LONGLONG>(image.cy) * area.cx / area.cy);
        crop.left = (image.cx - width) / 2;
        crop.right = crop.left + width;
    } else {
        LONG height = static_cast<LONG>(static_cast<LONGLONG>(image.cx) * area.cy / area.cx);
        crop.top = (image.cy - height) / 2;
        crop.bottom = crop.top + height;
    }
    return crop;
}

CLockBackground::CLockBackground(const CheckedBitmap* image, const RECT& screen)
{
    if (image == nullptr)
        return;
    void* bits = nullptr;
    HBITMAP picture = ::CreateDIBSection(nullptr, image->Info(), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (picture == nullptr)
        return;
    std::memcpy(bits, image->pixels.data(), image->pixels.size());
    HDC screenDc = ::GetDC(nullptr);
    m_hComposed = ::CreateCompatibleDC(screenDc);
    m_hBitmap = ::CreateCompatibleBitmap(screenDc, screen.right - screen.left, screen.bottom - screen.top);
    ::ReleaseDC(nullptr, screenDc);
    if (m_hComposed == nullptr || m_hBitmap == nullptr) {
        ::DeleteObject(picture);
        return;
    }
    m_hOldBitmap = ::SelectObject(m_hComposed, m_hBitmap);
    FillGround(m_hComposed, {0, 0, screen.right - screen.left, screen.bottom - screen.top});

    HDC source = ::CreateCompatibleDC(m_hComposed);
    HGDIOBJ old = ::SelectObject(source, picture);
    ::SetStretchBltMode(m_hComposed, HALFTONE);
    ::SetBrushOrgEx(m_hComposed, 0, 0, nullptr);
    std::vector<RECT> monitors;
    ::EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    for (RECT monitor : monitors) {
        ::OffsetRect(&monitor, -screen.left, -screen.top);
        SIZE size = {monitor.right - monitor.left, monitor.bottom - monitor.top};
        RECT crop = CropToFill({image->Width(), image->Height()}, size);
        ::StretchBlt(m_hComposed, monitor.left, monitor.top, size.cx, size.cy, source, crop.left, crop.top,
                     crop.right - crop.left, crop.bottom - crop.top, SRCCOPY);
    }
    ::SelectObject(source, old);
    ::DeleteDC(source);
    ::DeleteObject(picture);
}

CLockBackground::~CLockBackground()
{
    if (m_hComposed != nullptr) {
        if (m_hOldBitmap != nullptr)
            ::SelectObject(m_hComposed, m_hOldBitmap);
        ::DeleteDC(m_hComposed);
    }
    if (m_hBitmap != nullptr)
        ::DeleteObject(m_hBitmap);
}

void CLockBackground::Paint(HDC dc, const RECT& update) const
{
    if (m_hOldBitmap == nullptr)
        FillGround(dc, update);
    else
        ::BitBlt(dc, update.left, update.top, update.right - update.left, update.bottom - update.top, m_hComposed,
                 update.left, update.top, SRCCOPY);
}
