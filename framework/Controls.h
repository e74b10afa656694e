#pragma once

#include "framework/MessageMap.h"

// Wrappers of the standard and common controls, attached to dialog controls
// with DDX_Control. They add only what the dialogs use.

class CStatic : public CWnd {
};

class CButton : public CWnd {
};

class CEdit : public CWnd {
};

class CSliderCtrl : public CWnd {
public:
    int GetPos() const { return static_cast<int>(SendMessage(TBM_GETPOS)); }
    void SetPos(int pos) { SendMessage(TBM_SETPOS, TRUE, pos); }
    void SetRangeMin(int minimum, BOOL redraw = FALSE) { SendMessage(TBM_SETRANGEMIN, redraw, minimum); }
    void SetRangeMax(int maximum, BOOL redraw = FALSE) { SendMessage(TBM_SETRANGEMAX, redraw, maximum); }
    void SetTicFreq(int frequency) { SendMessage(TBM_SETTICFREQ, static_cast<WPARAM>(frequency)); }
};

class CSpinButtonCtrl : public CWnd {
};
