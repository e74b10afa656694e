#pragma once

#include "daemon/CheckedBitmap.h"

#include <windows.h>

// The lock screen's background: the user's bitmap, scaled to fit with its
// proportions kept and centred, on a plain dark ground; only the dark ground
// without a bitmap.
class CLockBackground {
public:
    // image: a checked picture, or null for none.
    explicit CLockBackground(const CheckedBitmap* image);
    ~CLockBackground();
    CLockBackground(const CLockBackground&) = delete;
    CLockBackground& operator=(const CLockBackground&) = delete;

    // Paints the whole client rectangle; the image fills as much of area
    // (the primary monitor, in client coordinates) as its proportions allow.
    // The smooth scaling looks better and takes several times longer.
    void Paint(HDC dc, const RECT& client, const RECT& area, bool smooth) const;

private:
    HBITMAP m_hBitmap = nullptr;
    SIZE m_size = {0, 0};
};

// The largest rectangle of the image's proportions that fits in the area,
// centred in it.
RECT FitCentred(SIZE image, const RECT& area);
