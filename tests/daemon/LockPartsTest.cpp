#include "daemon/CheckedBitmap.h"
#include "daemon/Guard.h"
#include "daemon/LockBackground.h"
#include "daemon/LockScreen.h"
#include "daemon/PasswordEntry.h"
#include "settings/PasswordScrambler.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

namespace {
std::string Code(std::string password)
{
    ScramblePassword(password);
    return password;
}
}  // namespace

// A death while locked always brings the lock back; while unlocked, only
// until the daemon keeps dying.
TEST(RestartPolicy, Deaths)
{
    CRestartPolicy policy;
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(GuardAction::relaunch, policy.OnEnded(DaemonState::locked, 0, 10));
    EXPECT_EQ(GuardAction::end, policy.OnEnded(DaemonState::ending, 0, 10));
    for (int i = 0; i < CRestartPolicy::kQuickDeaths; ++i)
        EXPECT_EQ(GuardAction::relaunch, policy.OnEnded(DaemonState::armed, 0xFFFFFF00, 100));
    EXPECT_EQ(GuardAction::end, policy.OnEnded(DaemonState::starting, 0, 100));
    CRestartPolicy longLived;
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(GuardAction::relaunch,
                  longLived.OnEnded(DaemonState::armed, 0, CRestartPolicy::kQuickMs));
}

// A character the settings file cannot hold would be stored as "?".
TEST(PasswordEntry, OutsideCodePage)
{
    CPasswordEntry entry;
    entry.Type(L"\x0416", 0);
    EXPECT_FALSE(entry.TakeAndCheck(Code("?")));
    entry.Type(L"caf\x00e9", 0);
    EXPECT_TRUE(entry.TakeAndCheck(Code("caf\xe9")));
}

TEST(PasswordEntry, ForgottenAfterAMinute)
{
    CPasswordEntry entry;
    const DWORD typed = 0xFFFFF000;  // across the tick count's wrap
    entry.Type(L"ope", typed);
    EXPECT_FALSE(entry.ForgetIfIdle(typed + CPasswordEntry::kForgetMs - 1));
    EXPECT_EQ(3, entry.Length());
    EXPECT_TRUE(entry.ForgetIfIdle(typed + CPasswordEntry::kForgetMs));
    EXPECT_EQ(0, entry.Length());
}

namespace {
// A bitmap file: the file header, a 40-byte info header, then the rest.
std::vector<BYTE> Bmp(LONG width, LONG height, WORD bits, DWORD compression = BI_RGB,
                      DWORD colours = 0, int pixelBytes = -1)
{
    DWORD palette = bits <= 8 ? (colours ? colours : 1u << bits) : colours;
    DWORD offset = 14 + 40 + (compression == BI_BITFIELDS ? 12 : 0) + 4 * palette;
    LONG rows = height < 0 ? -height : height;
    size_t stride = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
    size_t pixels =
        pixelBytes >= 0 ? static_cast<size_t>(pixelBytes) : stride * static_cast<size_t>(rows);
    std::vector<BYTE> file(offset + pixels, 0x5A);
    BITMAPFILEHEADER fileHeader = {0x4D42, static_cast<DWORD>(file.size()), 0, 0, offset};
    BITMAPINFOHEADER info = {40, width, height, 1, bits, compression, 0, 0, 0, colours, 0};
    std::memcpy(&file[0], &fileHeader, 14);
    std::memcpy(&file[14], &info, 40);
    return file;
}

std::vector<BYTE> Patched(std::vector<BYTE> file, size_t at, DWORD value)
{
    std::memcpy(&file[at], &value, sizeof(value));
    return file;
}

std::vector<BYTE> Cut(std::vector<BYTE> file, size_t size)
{
    file.resize(size);
    return file;
}

std::vector<BYTE> Bytes(const std::string& text)
{
    return std::vector<BYTE>(text.begin(), text.end());
}
}  // namespace

// Fill: the image's middle part of the monitor's proportions.
TEST(LockBackground, CropToFill)
{
    auto crop = [](SIZE image, SIZE area) {
        RECT r = CropToFill(image, area);
        return std::vector<LONG>{r.left, r.top, r.right, r.bottom};
    };
    EXPECT_EQ((std::vector<LONG>{133, 0, 1466, 1000}), crop({1600, 1000}, {1024, 768}));
    EXPECT_EQ((std::vector<LONG>{0, 250, 1000, 750}), crop({1000, 1000}, {1920, 960}));
    EXPECT_EQ((std::vector<LONG>{0, 0, 800, 600}), crop({800, 600}, {1024, 768}));
    EXPECT_EQ((std::vector<LONG>{0, 0, 800, 600}), crop({800, 600}, {0, 768}));
}

// One paint of the lock window draws the whole card, the box and the texts
// included: whatever frame the system shows after it is whole.
TEST(LockScreen, OnePaintDrawsTheCard)
{
    CAttemptBackoff backoff;
    LockStats stats = {};
    CLockScreen lock("", nullptr, backoff, stats, CGrace(0, 0));
    HWND window = lock.Window();
    auto at = [window](int id) {
        RECT place;
        ::GetWindowRect(::GetDlgItem(window, id), &place);
        ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
        return place;
    };
    RECT client, box = at(CLockScreen::kPasswordId), label = at(CLockScreen::kLabelId);
    ::GetClientRect(window, &client);
    HDC screen = ::GetDC(nullptr), frame = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(frame, ::CreateCompatibleBitmap(screen, client.right, client.bottom));
    ::SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(frame), PRF_CLIENT);
    EXPECT_EQ(RGB(255, 255, 255), ::GetPixel(frame, (box.left + box.right) / 2, (box.top + box.bottom) / 2));
    std::set<COLORREF> labelColours;
    for (int x = label.left; x < label.right; ++x)
        labelColours.insert(::GetPixel(frame, x, (label.top + label.bottom) / 2));
    EXPECT_LT(1u, labelColours.size()) << "the label's text is drawn";
    ::DeleteObject(::SelectObject(frame, old));
    ::DeleteDC(frame);
    ::ReleaseDC(nullptr, screen);
}

TEST(CheckedBitmap, GoodOnes)
{
    for (const auto& file :
         {Bmp(3, 2, 24), Bmp(3, -2, 24), Bmp(5, 5, 1), Bmp(5, 5, 4), Bmp(7, 3, 8, BI_RGB, 16),
          Bmp(4, 4, 16), Bmp(4, 4, 32), Bmp(4, 4, 32, BI_BITFIELDS), Bmp(4, 4, 16, BI_BITFIELDS)}) {
        CheckedBitmap bitmap;
        ASSERT_EQ(BitmapCheck::ok, CheckBitmap(file, bitmap));
        CLockBackground background(&bitmap, {0, 0, 64, 48});
        HDC dc = ::CreateCompatibleDC(nullptr);
        HBITMAP target = ::CreateCompatibleBitmap(::GetDC(nullptr), 64, 48);
        HGDIOBJ old = ::SelectObject(dc, target);
        background.Paint(dc, {0, 0, 64, 48});
        EXPECT_NE(RGB(18, 20, 26), ::GetPixel(dc, 32, 24)) << "the picture is drawn";
        ::SelectObject(dc, old);
        ::DeleteObject(target);
        ::DeleteDC(dc);
    }
}

// Hostile or damaged files: each is refused, without reading past its end
// or allocating what its header claims.
TEST(CheckedBitmap, HostileOnes)
{
    const std::vector<BYTE> good = Bmp(100, 100, 24), palette = Bmp(16, 16, 8);
    std::vector<std::pair<std::string, std::vector<BYTE>>> files = {
        {"empty", {}},
        {"file header only", Cut(good, 14)},
        {"header without pixels", Cut(good, 54)},
        {"last row short", Cut(good, good.size() - 1)},
        {"palette cut", Cut(palette, 14 + 40 + 100)},
        {"not BM", Patched(good, 0, 0x4D43)},
        {"PNG renamed", Bytes("\x89PNG\r\n\x1a\n" + std::string(100, '\0'))},
        {"huge both", Patched(Patched(good, 18, 100000), 22, 100000)},
        {"zero width", Patched(good, 18, 0)},
        {"negative width", Patched(good, 18, static_cast<DWORD>(-100))},
        {"most negative height", Patched(good, 22, 0x80000000)},
        {"width overflowing the row", Patched(Patched(good, 18, 0x7FFFFFFF), 22, 1)},
        {"bits 7", Patched(good, 26, 0x00070001)},
        {"RLE8", Patched(palette, 30, BI_RLE8)},
        {"embedded JPEG", Patched(good, 30, BI_JPEG)},
        {"bit fields cut", Cut(Bmp(4, 4, 32, BI_BITFIELDS), 14 + 40 + 4)},
        {"absurd palette", Patched(palette, 46, 0x7FFFFFFF)},
        {"header size huge", Patched(good, 14, 0x7FFFFFF0)},
        {"pixels offset huge", Patched(good, 10, 0xFFFFFFF0)},
        {"header only, claimed 100x100x24",
         Patched(Cut(good, 54), 2, static_cast<DWORD>(good.size()))},
    };
    for (const auto& [name, file] : files) {
        CheckedBitmap bitmap;
        EXPECT_NE(BitmapCheck::ok, CheckBitmap(file, bitmap)) << name;
    }
}

