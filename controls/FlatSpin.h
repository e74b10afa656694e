#pragma once

#include "framework/Controls.h"

#include <map>

// The delay field's arrows: the common up-down control keeps all clicking,
// auto-repeat, buddy text and keyboard handling; this class paints the two
// arrows flat and joined to the buddy edit's border, greys the arrow that
// cannot move further, shows the arrow just used as pressed, and follows
// values typed into the buddy through a thread message hook.
class CFlatSpin : public CSpinButtonCtrl {
public:
    CFlatSpin() = default;
    ~CFlatSpin() override;

    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Re-reads buddy, style, range, position and client size from the
    // up-down control.
    virtual void RefreshFromControl();

    BEGIN_MSG_MAP(CFlatSpin, CSpinButtonCtrl)
        ON_NOTIFY_REFLECT_EX(UDN_DELTAPOS, OnDeltaPos)
        ON_WM_LBUTTONDOWN()
        ON_WM_ERASEBKGND()
        ON_WM_LBUTTONUP()
        ON_WM_DESTROY()
        ON_WM_PAINT()
        ON_WM_SYSCOLORCHANGE()
    END_MSG_MAP()

protected:
    BOOL OnDeltaPos(NMHDR* notify, LRESULT* result);
    void OnLButtonDown(UINT flags, POINT point);
    BOOL OnEraseBkgnd(HDC dc);
    void OnLButtonUp(UINT flags, POINT point);
    void OnDestroy();
    void OnPaint();
    void OnSysColorChange();

    void DetachBuddy();
    void DrawPressedArrow(HDC dc, const RECT& half);
    void DrawDisabledArrow(HDC dc, const RECT& half);

    HWND m_hWndBuddy = nullptr;
    bool m_bFlatDraw = true;
    bool m_bBuddyHooked = false;
    bool m_bRangeInverted = true;
    bool m_bShowPressed = false;
    bool m_bVertical = true;
    RECT m_rcPressed = {0, 0, 0, 0};
    RECT m_rcClient = {0, 0, 0, 0};
    int m_nPos = 0;
    int m_nMin = 0;
    int m_nMax = 0;
    int m_nAlign = 0;
    int m_nLimit = 0;
    HPEN m_hPenLight = nullptr;
    HPEN m_hPenDkShadow = nullptr;
    HPEN m_hPenShadow = nullptr;
    HPEN m_hPenHilight = nullptr;
    HPEN m_hPenFace = nullptr;

    // Shared by all instances on the user-interface thread: each hooked buddy
    // edit and the spin control that follows it, and the one hook that
    // watches those edits.
    static std::map<HWND, HWND> s_mapBuddies;
    static HHOOK s_hBuddyHook;

private:
    static LRESULT CALLBACK BuddyEditHookProc(int code, WPARAM wParam, LPARAM lParam);
    void CreatePens();
    void DeletePens();
    void ArrowHalves(RECT* first, RECT* second) const;
};
