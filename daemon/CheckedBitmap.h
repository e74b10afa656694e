#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A bitmap file's picture, taken only after every field of its headers was
// checked against the file's length and the limits below, so that a hostile
// or damaged file cannot make the daemon read past its end or allocate what
// a header merely claims. Uncompressed and bit-field bitmaps of 1, 4, 8, 16,
// 24 and 32 bits are taken; compressed ones (RLE, or a PNG or JPEG inside)
// are not.
struct CheckedBitmap {
    static constexpr LONG kMaxSide = 16384;
    static constexpr DWORD kMaxFileBytes = 128u << 20;

    std::vector<BYTE> info;    // a BITMAPINFO: a 40-byte header, masks, palette
    std::vector<BYTE> pixels;  // the rows as the header describes them
    const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(info.data()); }
    LONG Width() const { return Info()->bmiHeader.biWidth; }
    LONG Height() const;  // positive, whichever way the rows run
};

enum class BitmapCheck { ok, unreadable, notBitmap, unsupported, damaged };

// Checks the bytes of a bitmap file and takes its picture.
BitmapCheck CheckBitmap(const std::vector<BYTE>& file, CheckedBitmap& bitmap);
// Reads the file at this path, of at most kMaxFileBytes, and checks it.
BitmapCheck ReadCheckedBitmap(const std::string& path, CheckedBitmap& bitmap);
