#include "res/resource.h"
#include "tests/controls/SpinHost.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

// The settings wizard's template, shown without activation (so that no
// control has the focus) and reflecting notifications like the wizard.
class WizardTemplateWindow {
public:
    WizardTemplateWindow()
    {
        HRSRC resource = ::FindResourceA(nullptr, MAKEINTRESOURCEA(IDD_SETTINGS), RT_DIALOG);
        const BYTE* data = static_cast<const BYTE*>(::LockResource(::LoadResource(nullptr, resource)));
        std::vector<BYTE> copy(data, data + ::SizeofResource(nullptr, resource));
        // DLGTEMPLATEEX: version, signature, help id, extended style, style.
        DWORD style;
        std::memcpy(&style, &copy[12], sizeof style);
        style &= ~(WS_VISIBLE | DS_CENTER);
        std::memcpy(&copy[12], &style, sizeof style);
        HWND dialog = ::CreateDialogIndirectParamA(::GetModuleHandleA(nullptr),
                                                   reinterpret_cast<LPCDLGTEMPLATEA>(copy.data()), nullptr,
                                                   PlainDialogProc, 0);
        if (dialog != nullptr && m_dialog.SubclassWindow(dialog) && m_spin.SubclassWindow(::GetDlgItem(dialog, IDC_DELAY_SPIN))) {
            ::SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
            m_spin.SendMessage(UDM_SETRANGE32, 1, 30);
        }
        DrainMessages();
    }
    ~WizardTemplateWindow()
    {
        if (m_dialog.m_hWnd != nullptr)
            ::DestroyWindow(m_dialog.m_hWnd);
        DrainMessages();
    }
    WizardTemplateWindow(const WizardTemplateWindow&) = delete;
    WizardTemplateWindow& operator=(const WizardTemplateWindow&) = delete;

    HWND Dialog() const { return m_dialog.m_hWnd; }
    HWND Edit() const { return ::GetDlgItem(m_dialog.m_hWnd, IDC_DELAY); }
    FlatSpinProbe& Spin() { return m_spin; }

    void SetDelay(int minutes)
    {
        ::SetWindowTextA(Edit(), std::to_string(minutes).c_str());
        DrainMessages();
        ::UpdateWindow(Dialog());
    }

    // The delay field with its label and unit, in screen coordinates.
    RECT FieldOnScreen() const
    {
        RECT field = {40, 101, 172, 125};
        ::MapDialogRect(m_dialog.m_hWnd, &field);
        ::MapWindowPoints(m_dialog.m_hWnd, nullptr, reinterpret_cast<POINT*>(&field), 2);
        return field;
    }

private:
    HostWnd m_dialog;
    FlatSpinProbe m_spin;
};

// Close-up pictures of screen regions side by side, enlarged without
// smoothing, saved as a 24-bit BMP.
class CloseUp {
public:
    CloseUp(int width, int height, int count, int scale)
        : m_width(width), m_height(height), m_scale(scale), m_gap(2 * scale)
    {
        m_screen = ::GetDC(nullptr);
        m_dc = ::CreateCompatibleDC(m_screen);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = count * width * scale + (count + 1) * m_gap;
        info.bmiHeader.biHeight = height * scale + 2 * m_gap;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        m_header = info.bmiHeader;
        m_bitmap = ::CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &m_bits, nullptr, 0);
        m_old = ::SelectObject(m_dc, m_bitmap);
        RECT all = {0, 0, m_header.biWidth, m_header.biHeight};
        ::FillRect(m_dc, &all, static_cast<HBRUSH>(::GetStockObject(DKGRAY_BRUSH)));
    }
    ~CloseUp()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
        ::ReleaseDC(nullptr, m_screen);
    }
    CloseUp(const CloseUp&) = delete;
    CloseUp& operator=(const CloseUp&) = delete;

    void Add(int index, const RECT& screen)
    {
        ::SetStretchBltMode(m_dc, COLORONCOLOR);
        ::StretchBlt(m_dc, m_gap + index * (m_width * m_scale + m_gap), m_gap, m_width * m_scale,
                     m_height * m_scale, m_screen, screen.left, screen.top, m_width, m_height, SRCCOPY);
    }

    bool Save(const char* path)
    {
        ::GdiFlush();
        DWORD stride = ((m_header.biWidth * 3 + 3) / 4) * 4;
        DWORD size = stride * static_cast<DWORD>(m_header.biHeight);
        BITMAPFILEHEADER file = {};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof file + sizeof m_header;
        file.bfSize = file.bfOffBits + size;
        FILE* out = std::fopen(path, "wb");
        if (out == nullptr)
            return false;
        bool written = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                       std::fwrite(&m_header, sizeof m_header, 1, out) == 1 &&
                       std::fwrite(m_bits, size, 1, out) == 1;
        return std::fclose(out) == 0 && written;
    }

private:
    int m_width, m_height, m_scale, m_gap;
    HDC m_screen, m_dc;
    BITMAPINFOHEADER m_header;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
    void* m_bits = nullptr;
};
}  // namespace

// The delay field of the wizard's own template: the spin control sits at
// the edit's right edge and greys the right arrow at either end of 1..30.
// With VELLMORAN_SPIN_CLOSEUP set to a file name the field is saved there
// enlarged, at 1, 15 and 30.
TEST(FlatSpinWizardField, DelayFieldOfTheWizardTemplate)
{
    WizardTemplateWindow wizard;
    ASSERT_NE(nullptr, wizard.Dialog());
    FlatSpinProbe& spin = wizard.Spin();
    ASSERT_NE(nullptr, spin.m_hWnd);
    EXPECT_EQ(wizard.Edit(), spin.m_hWndBuddy);
    EXPECT_TRUE(spin.m_bBuddyHooked);
    EXPECT_EQ(1, spin.m_nAlign);
    EXPECT_EQ(1, spin.m_nMin);
    EXPECT_EQ(30, spin.m_nMax);

    RECT edit, arrows;
    ::GetWindowRect(wizard.Edit(), &edit);
    ::GetWindowRect(spin.m_hWnd, &arrows);
    EXPECT_EQ(edit.top, arrows.top);
    EXPECT_EQ(edit.bottom, arrows.bottom);
    EXPECT_GE(edit.right, arrows.left);

    RECT field = wizard.FieldOnScreen();
    const int width = field.right - field.left, height = field.bottom - field.top;
    CloseUp closeUp(width, height, 3, 4);
    const int values[] = {1, 15, 30};
    const int limits[] = {2, 0, 1};
    for (int i = 0; i < 3; ++i) {
        wizard.SetDelay(values[i]);
        EXPECT_EQ(values[i], spin.m_nPos);
        EXPECT_EQ(limits[i], spin.m_nLimit);
        closeUp.Add(i, field);
    }
    if (const char* path = std::getenv("VELLMORAN_SPIN_CLOSEUP")) {
        EXPECT_TRUE(closeUp.Save(path)) << path;
    }
}
