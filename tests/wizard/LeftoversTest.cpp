#include "settings/ChangePassword.h"
#include "tests/support/GuiDriver.h"
#include "tests/support/SettingsFile.h"
#include "wizard/SettingsDlg.h"

#include <gtest/gtest.h>

namespace {
// The password is made one character at a time and never held whole by the
// test, so every copy a scan finds is one the program left.
const int kLength = 20;
char PasswordChar(int i)
{
    return static_cast<char>(i % 2 ? 'a' + (i * 7 + 3) % 26 : 'K' + i % 11);
}

// Copies of the password in the process's committed readable memory, as
// 8-bit text or as UTF-16. The scan's own copy of each region is wiped, so
// that a later scan cannot find it.
int CopiesInMemory()
{
    int copies = 0;
    MEMORY_BASIC_INFORMATION region;
    for (char* at = nullptr; ::VirtualQuery(at, &region, sizeof(region)); at += region.RegionSize) {
        at = static_cast<char*>(region.BaseAddress);
        bool readable =
            region.State == MEM_COMMIT && !(region.Protect & (PAGE_GUARD | PAGE_NOACCESS));
        std::vector<char> bytes(readable ? region.RegionSize : 0);
        SIZE_T got = 0;
        ::ReadProcessMemory(::GetCurrentProcess(), at, bytes.data(), bytes.size(), &got);
        for (SIZE_T stride = 1; stride <= 2; ++stride)
            for (SIZE_T k = 0, i = 0; k + kLength * stride <= got; ++k, i = 0) {
                while (i < kLength && bytes[k + i * stride] == PasswordChar(i)
                       && (stride == 1 || !bytes[k + i * stride + 1]))
                    ++i;
                copies += i == kLength;
            }
        ::SecureZeroMemory(bytes.data(), bytes.size());
    }
    return copies;
}
}  // namespace

// Only a bitmap static answers STM_GETIMAGE with a bitmap: the banner's,
// which must be gone once the wizard is.
TEST(Leftovers, BannerFreed)
{
    HGDIOBJ banner = nullptr;
    auto wizard = [] { return FindThreadDialog("Vellmoran - Settings"); };
    ModalScript script({[&] { return ::IsWindowVisible(wizard()) != FALSE; }, ModalScript::Do([&] {
                            for (HWND c = ::GetWindow(wizard(), GW_CHILD); c && !banner;
                                 c = ::GetWindow(c, GW_HWNDNEXT))
                                banner = reinterpret_cast<HGDIOBJ>(
                                    ::SendMessageA(c, STM_GETIMAGE, IMAGE_BITMAP, 0));
                            UserClick(wizard(), IDCANCEL);
                        })});
    CSettingsDlg().DoModal();
    ASSERT_NE(nullptr, banner);
    EXPECT_EQ(0u, ::GetObjectType(banner));
}

TEST(Leftovers, NewPasswordWiped)
{
    DeleteSettingsFile();  // no code yet: the first password needs no old one
    MessageBoxWatcher watcher(IDOK);
    int whileOpen = 0;
    ModalScript script(
        {[] { return ::IsWindowVisible(FindThreadDialog("Vellmoran - Change Password")) != FALSE; },
         ModalScript::Do([&] {
             HWND dialog = FindThreadDialog("Vellmoran - Change Password");
             for (int id : {IDC_NEW_PASSWORD, IDC_CONFIRM_PASSWORD})
                 for (int i = 0; i < kLength; ++i)
                     ::SendDlgItemMessageA(dialog, id, WM_CHAR, static_cast<BYTE>(PasswordChar(i)),
                                           0);
             whileOpen = CopiesInMemory();
             UserClick(dialog, IDOK);
         })});
    RunChangePasswordFlow();
    EXPECT_EQ(std::vector<std::string>{"The password has been changed."}, watcher.Texts());
    EXPECT_GE(whileOpen, 2) << "the scan finds the text of the two edit boxes";
    EXPECT_EQ(0, CopiesInMemory());
    DeleteSettingsFile();
}
