#pragma once
// A dialog from a template of the program's resources. One static dialog
// procedure finds the object (stored at WM_INITDIALOG) and hands every message
// to OnMessage, a plain switch that routes to the handlers below; a derived
// dialog overrides the handlers it needs, or OnMessage itself for messages the
// switch does not know. No exception leaves the dialog procedure.

#include "afx/Wnd.h"

class CDataExchange;

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // Runs the dialog modally. Returns what EndDialog was given, or -1 when the
    // dialog could not be created or a handler failed.
    virtual INT_PTR DoModal();

    // Runs DoDataExchange in the given direction.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    void EndDialog(int result) const { ::EndDialog(m_hWnd, result); }

    // The dialog template's resource id.
    UINT m_nIDTemplate;

protected:
    // The one dispatch of every message after WM_INITDIALOG. TRUE: handled.
    virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Binds and fills the controls (UpdateData(FALSE)). TRUE: focus goes to
    // the first control.
    virtual BOOL OnInitDialog();
    // IDOK: takes the controls' values, then ends with IDOK.
    virtual void OnOK();
    // IDCANCEL: ends with IDCANCEL.
    virtual void OnCancel();
    // WM_COMMAND; routes IDOK and IDCANCEL. TRUE: handled.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual void OnTimer(UINT_PTR id);
    // Validates the window; the dialog's background is painted as usual.
    virtual void OnPaint();
    virtual void OnDestroy();
    virtual void DoDataExchange(CDataExchange* exchange);

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    CWnd* m_pParentWnd;
};
