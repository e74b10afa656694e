#pragma once

#include "daemon/CheckedBitmap.h"

#include <windows.h>

// The lock screen's background, composed once, off screen, before the lock
// shows: on each monitor the user's bitmap fills the monitor with its
// proportions kept, cropped and centred, as the system's "Fill" wallpaper
// does; a plain dark ground without a bitmap.
class CLockBackground {
public:
    // image: a checked picture, or null for none. screen: the virtual
    // screen, whose top left is the client origin.
    CLockBackground(const CheckedBitmap* image, const RECT& screen);
    ~CLockBackground();
    CLockBackground(const CLockBackground&) = delete;
    CLockBackground& operator=(const CLockBackground&) = delete;

    // Paints the part of the client area to update.
    void Paint(HDC dc, const RECT& update) const;

private:
    HDC m_hComposed = nullptr;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOldBitmap = nullptr;
};

// The part of an image that fills an area of this size: the largest
// rectangle of the area's proportions, centred in the image.
RECT CropToFill(SIZE image, SIZE area);
