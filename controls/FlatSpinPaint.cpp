#include "controls/FlatSpin.h"

namespace {
// Ternary raster operation DSPDxax: where the source is 1 the brush is
// painted, elsewhere the destination stays.
constexpr DWORD kBrushThroughMask = 0x00E20746;

void Line(HDC dc, HPEN pen, int x, int y)
{
    ::SelectObject(dc, pen);
    ::LineTo(dc, x, y);
}
}  // namespace

// With an odd size the middle line belongs to neither half and keeps the
// face colour, so that both arrows are the same size.
void CFlatSpin::ArrowHalves(RECT* first, RECT* second) const
{
    RECT area = m_rcClient;
    if (::IsWindow(m_hWndBuddy) && m_nAlign != 0) {
        area.top += 2;
        area.bottom -= 2;
        if (m_nAlign == 1)
            area.right -= 2;
        else
            area.left += 2;
    }
    *first = area;
    *second = area;
    if (m_bVertical) {
        int h = (area.bottom - area.top) / 2;
        first->bottom = area.top + h;
        second->top = area.bottom - h;
    } else {
        int w = (area.right - area.left) / 2;
        first->right = area.left + w;
        second->left = area.right - w;
    }
}

void CFlatSpin::OnPaint()
{
    if (!m_bFlatDraw) {
        SetMsgHandled(FALSE);
        return;
    }

    PAINTSTRUCT ps;
    HDC paintDC = ::BeginPaint(m_hWnd, &ps);
    const RECT& rc = m_rcClient;
    HDC dc = ::CreateCompatibleDC(paintDC);
    HBITMAP bitmap = ::CreateCompatibleBitmap(paintDC, rc.right - rc.left, rc.bottom - rc.top);
    HGDIOBJ oldBitmap = ::SelectObject(dc, bitmap);

    ::FillRect(dc, &rc, ::GetSysColorBrush(COLOR_BTNFACE));

    RECT first, second;
    ArrowHalves(&first, &second);
    ::DrawFrameControl(dc, &first, DFC_SCROLL, m_bVertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT);
    ::DrawFrameControl(dc, &second, DFC_SCROLL, m_bVertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT);

    // The buddy edit's sunken border continued around the arrows.
    if (::IsWindow(m_hWndBuddy) && m_nAlign != 0) {
        HGDIOBJ oldPen = ::SelectObject(dc, m_hPenShadow);
        if (m_nAlign == 1) {
            ::MoveToEx(dc, rc.left, rc.top, nullptr);
            ::LineTo(dc, rc.right, rc.top);
            ::MoveToEx(dc, rc.left, rc.top + 1, nullptr);
            Line(dc, m_hPenDkShadow, rc.right - 1, rc.top + 1);
            Line(dc, m_hPenHilight, rc.right - 1, rc.bottom - 1);
            ::LineTo(dc, rc.left - 1, rc.bottom - 1);
        } else {
            ::MoveToEx(dc, rc.right, rc.top, nullptr);
            ::LineTo(dc, rc.left, rc.top);
            ::LineTo(dc, rc.left, rc.bottom);
            ::MoveToEx(dc, rc.right, rc.top + 1, nullptr);
            Line(dc, m_hPenDkShadow, rc.left + 1, rc.top + 1);
            ::LineTo(dc, rc.left + 1, rc.bottom - 1);
            Line(dc, m_hPenHilight, rc.right + 1, rc.bottom - 1);
        }
        ::SelectObject(dc, oldPen);
    }

    // Which arrow cannot move further: the one pointing towards the bound
    // reached, mirrored when the range runs downward.
    if (m_nLimit == 1 || m_nLimit == 2) {
        bool towardsFirst = (m_nLimit == 1) != m_bRangeInverted;
        if (!m_bVertical)
            towardsFirst = !towardsFirst;
        DrawDisabledArrow(dc, towardsFirst ? first : second);
    }

    if (m_bShowPressed) {
        if (::IsRectEmpty(&m_rcPressed)) {
            DWORD pos = ::GetMessagePos();
            POINT cursor = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
            ::ScreenToClient(m_hWnd, &cursor);
            if (::PtInRect(&first, cursor))
                m_rcPressed = first;
            else if (::PtInRect(&second, cursor))
                m_rcPressed = second;
        }
        if (!::IsRectEmpty(&m_rcPressed))
            DrawPressedArrow(dc, m_rcPressed);
        m_bShowPressed = false;
    }

    ::BitBlt(paintDC, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, dc, rc.left, rc.top, SRCCOPY);
    ::SelectObject(dc, oldBitmap);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::EndPaint(m_hWnd, &ps);
}

void CFlatSpin::DrawPressedArrow(HDC dc, const RECT& half)
{
    const int l = half.left, t = half.top, r = half.right, b = half.bottom;
    ::BitBlt(dc, l + 1, t + 1, r - l - 1, b - t - 1, dc, l, t, SRCCOPY);

    HGDIOBJ oldPen = ::SelectObject(dc, m_hPenShadow);
    ::MoveToEx(dc, l, b - 2, nullptr);
    ::LineTo(dc, l, t);
    ::LineTo(dc, r - 1, t);
    Line(dc, m_hPenHilight, r - 1, b - 1);
    ::LineTo(dc, l - 1, b - 1);

    ::SelectObject(dc, m_hPenDkShadow);
    ::MoveToEx(dc, l + 1, b - 3, nullptr);
    ::LineTo(dc, l + 1, t + 1);
    ::LineTo(dc, r - 2, t + 1);
    Line(dc, m_hPenLight, r - 2, b - 2);
    ::LineTo(dc, l, b - 2);

    ::SelectObject(dc, m_hPenFace);
    ::MoveToEx(dc, l + 2, b - 3, nullptr);
    ::LineTo(dc, l + 2, t + 2);
    ::LineTo(dc, r - 2, t + 2);
    ::SelectObject(dc, oldPen);
}

// The embossed look of a disabled glyph, made from the arrow that
// DrawFrameControl drew: the glyph in shadow colour over a highlight copy of
// itself one pixel down and right. The button's own edge stays untouched.
void CFlatSpin::DrawDisabledArrow(HDC dc, const RECT& half)
{
    RECT client;
    GetClientRect(&client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;

    HDC monoDC = ::CreateCompatibleDC(dc);
    HDC colorDC = ::CreateCompatibleDC(dc);
    HBITMAP mono = ::CreateBitmap(width, height, 1, 1, nullptr);
    HBITMAP color = ::CreateCompatibleBitmap(dc, width, height);
    HGDIOBJ oldMono = ::SelectObject(monoDC, mono);
    HGDIOBJ oldColor = ::SelectObject(colorDC, color);

    // Black pixels, the glyph, become 1 in the mask.
    COLORREF oldBk = ::SetBkColor(dc, RGB(0, 0, 0));
    const RECT& p = half;
    ::BitBlt(monoDC, p.left, p.top, p.right - p.left, p.bottom - p.top, dc, p.left, p.top, SRCCOPY);
    ::BitBlt(colorDC, p.left, p.top, p.right - p.left, p.bottom - p.top, dc, p.left, p.top, SRCCOPY);

    RECT inner = half;
    ::InflateRect(&inner, -1, -1);
    const int x = inner.left, y = inner.top;
    const int cx = inner.right - inner.left, cy = inner.bottom - inner.top;

    HBRUSH shadow = ::CreateSolidBrush(::GetSysColor(COLOR_BTNSHADOW));
    HGDIOBJ oldColorBrush = ::SelectObject(colorDC, shadow);
    ::SetBkColor(colorDC, RGB(255, 255, 255));
    ::SetTextColor(colorDC, RGB(0, 0, 0));
    ::BitBlt(colorDC, x, y, cx, cy, monoDC, x, y, kBrushThroughMask);

    HBRUSH hilight = ::CreateSolidBrush(::GetSysColor(COLOR_BTNHIGHLIGHT));
    HGDIOBJ oldBrush = ::SelectObject(dc, hilight);
    ::SetBkColor(dc, RGB(255, 255, 255));
    COLORREF oldText = ::SetTextColor(dc, RGB(0, 0, 0));
    ::BitBlt(dc, x + 1, y + 1, cx - 1, cy - 1, monoDC, x, y, kBrushThroughMask);

    // The mask is now 1 where the colour image shows the face colour.
    ::SetBkColor(colorDC, ::GetSysColor(COLOR_BTNFACE));
    ::BitBlt(monoDC, x, y, cx, cy, colorDC, x, y, SRCCOPY);

    ::BitBlt(dc, x, y, cx, cy, colorDC, x, y, SRCINVERT);
    ::BitBlt(dc, x, y, cx, cy, monoDC, x, y, SRCAND);
    ::BitBlt(dc, x, y, cx, cy, colorDC, x, y, SRCINVERT);

    ::SelectObject(dc, oldBrush);
    ::SetBkColor(dc, oldBk);
    ::SetTextColor(dc, oldText);
    ::SelectObject(colorDC, oldColorBrush);
    ::SelectObject(monoDC, oldMono);
    ::SelectObject(colorDC, oldColor);
    ::DeleteObject(shadow);
    ::DeleteObject(hilight);
    ::DeleteObject(mono);
    ::DeleteObject(color);
    ::DeleteDC(monoDC);
    ::DeleteDC(colorDC);
}
