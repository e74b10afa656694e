#include "daemon/CheckedBitmap.h"

#include <cstring>

namespace {
const size_t kFileHeader = 14, kInfoHeader = 40;

DWORD Dword(const std::vector<BYTE>& bytes, size_t at)
{
    DWORD value;
    std::memcpy(&value, &bytes[at], sizeof(value));
    return value;
}
}  // namespace

LONG CheckedBitmap::Height() const
{
    LONG height = Info()->bmiHeader.biHeight;
    return height < 0 ? -height : height;
}

BitmapCheck CheckBitmap(const std::vector<BYTE>& file, CheckedBitmap& bitmap)
{
    const ULONGLONG size = file.size();
    if (size < kFileHeader + kInfoHeader || file[0] != 'B' || file[1] != 'M')
        return BitmapCheck::notBitmap;
    const ULONGLONG pixelsAt = Dword(file, 10), headerSize = Dword(file, kFileHeader);
    // The core header of OS/2 bitmaps is not taken; the later ones all begin
    // with the 40 bytes read here.
    if (headerSize < kInfoHeader || kFileHeader + headerSize > size)
        return headerSize == sizeof(BITMAPCOREHEADER) ? BitmapCheck::unsupported : BitmapCheck::damaged;
    BITMAPINFOHEADER header;
    std::memcpy(&header, &file[kFileHeader], kInfoHeader);
    LONG width = header.biWidth, height = header.biHeight;
    if (width <= 0 || width > CheckedBitmap::kMaxSide || height == 0 || height < -CheckedBitmap::kMaxSide ||
        height > CheckedBitmap::kMaxSide || header.biPlanes != 1)
        return BitmapCheck::damaged;
    const WORD bits = header.biBitCount;
    const bool fields = header.biCompression == BI_BITFIELDS;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return BitmapCheck::damaged;
    if (header.biCompression != BI_RGB && !(fields && (bits == 16 || bits == 32)))
        return BitmapCheck::unsupported;
    const ULONGLONG maxColours = bits <= 8 ? 1u << bits : 256;
    const ULONGLONG colours = header.biClrUsed != 0 ? header.biClrUsed : bits <= 8 ? maxColours : 0;
    if (colours > maxColours)
        return BitmapCheck::damaged;
    // Bit-field masks follow a 40-byte header and lie inside the longer ones.
    const ULONGLONG masksAt = kFileHeader + kInfoHeader, masks = fields ? 3 * sizeof(DWORD) : 0;
    const ULONGLONG paletteAt = kFileHeader + (headerSize == kInfoHeader ? kInfoHeader + masks : headerSize);
    if (masksAt + masks > size || paletteAt + 4 * colours > pixelsAt)
        return BitmapCheck::damaged;
    const ULONGLONG stride = (static_cast<ULONGLONG>(width) * bits + 31) / 32 * 4;
    const ULONGLONG pixelBytes = stride * static_cast<ULONGLONG>(height < 0 ? -height : height);
    if (pixelsAt > size || pixelBytes > size - pixelsAt)
        return BitmapCheck::damaged;

    header.biSize = kInfoHeader;
    header.biSizeImage = 0;
    const ULONGLONG kept = bits <= 8 ? colours : 0;  // deeper bitmaps need no palette
    header.biClrUsed = static_cast<DWORD>(kept);
    header.biClrImportant = 0;
    bitmap.info.assign(kInfoHeader + masks + 4 * kept, 0);
    std::memcpy(bitmap.info.data(), &header, kInfoHeader);
    if (masks != 0)
        std::memcpy(&bitmap.info[kInfoHeader], &file[masksAt], masks);
    if (kept != 0)
        std::memcpy(&bitmap.info[kInfoHeader + masks], &file[paletteAt], 4 * kept);
    bitmap.pixels.assign(file.begin() + static_cast<ptrdiff_t>(pixelsAt),
                         file.begin() + static_cast<ptrdiff_t>(pixelsAt + pixelBytes));
    return BitmapCheck::ok;
}

BitmapCheck ReadCheckedBitmap(const std::string& path, CheckedBitmap& bitmap)
{
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return BitmapCheck::unreadable;
    LARGE_INTEGER size = {};
    std::vector<BYTE> bytes;
    DWORD read = 0;
    bool whole = ::GetFileSizeEx(file, &size) && size.QuadPart <= CheckedBitmap::kMaxFileBytes;
    if (whole) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        whole = bytes.empty() || (::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
                                  read == bytes.size());
    }
    ::CloseHandle(file);
    if (!whole)
        return BitmapCheck::unreadable;
    return CheckBitmap(bytes, bitmap);
}
