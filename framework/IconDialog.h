#pragma once

#include "framework/Dialog.h"

// A dialog that shows an icon of the application's resources in its caption
// and on the task bar, and paints it centred when the dialog is minimised.
// A derived map lists ON_WM_QUERYDRAGICON when the icon should also be the
// one dragged.
class CIconDialog : public CDialog {
public:
    CIconDialog(UINT templateId, UINT iconId, CWnd* parent);

protected:
    // The framework's initialisation, then the big and the small icon.
    BOOL OnInitDialog() override;
    void OnPaint();
    HCURSOR OnQueryDragIcon();

    BEGIN_MSG_MAP(CIconDialog, CDialog)
        ON_WM_PAINT()
    END_MSG_MAP()

    HICON m_hIcon;
};
