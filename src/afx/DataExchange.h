#pragma once
// Dialog data exchange: the one place where a dialog moves values between its
// controls and its members (DoDataExchange), in either direction.

#include <windows.h>

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog)
    {
    }

    // The dialog's control with the id (null when the template has none).
    HWND PrepareCtrl(int id) const;

    // TRUE: from the controls into the members; FALSE: the other way.
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
};

// Binds the view control to the dialog's control with the id.
void DDX_Control(CDataExchange* exchange, int id, CWnd& control);
