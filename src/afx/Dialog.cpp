#include "afx/Dialog.h"

#include "afx/AfxWin.h"
#include "afx/DataExchange.h"
#include "afx/PaintDC.h"

#include <commctrl.h>

namespace {

// The common controls the program's templates use (progress bar, IP address
// box, tooltips) must be registered before a template names them.
void RegisterControlClasses()
{
    INITCOMMONCONTROLSEX classes = {};
    classes.dwSize = sizeof(classes);
    classes.dwICC = ICC_WIN95_CLASSES | ICC_INTERNET_CLASSES;
    ::InitCommonControlsEx(&classes);
}

} // namespace

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog() = default;

INT_PTR CDialog::DoModal()
{
    RegisterControlClasses();
    HWND parent = m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : nullptr;
    return ::DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), parent, DialogProc,
                             reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    CDataExchange exchange(this, saveAndValidate);
    DoDataExchange(&exchange);
    return TRUE;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CDialog* dialog = nullptr;
    if (message == WM_INITDIALOG) {
        dialog = reinterpret_cast<CDialog*>(lParam);
        ::SetWindowLongPtrA(window, DWLP_USER, lParam);
        dialog->m_hWnd = window;
    } else {
        dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(window, DWLP_USER));
    }
    // Messages before WM_INITDIALOG (WM_SETFONT) go to the default handling.
    if (dialog == nullptr)
        return FALSE;

    INT_PTR handled = FALSE;
    try {
        handled = dialog->OnMessage(message, wParam, lParam);
    } catch (...) {
        // A handler that failed leaves the window in no known state: the
        // modal caller learns of it from the result.
        ::EndDialog(window, -1);
        handled = TRUE;
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(window, DWLP_USER, 0);
        dialog->m_hWnd = nullptr;
    }
    return handled;
}

INT_PTR CDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        return OnCommand(wParam, lParam);
    case WM_TIMER:
        OnTimer(static_cast<UINT_PTR>(wParam));
        return TRUE;
    case WM_PAINT:
        OnPaint();
        return TRUE;
    case WM_DESTROY:
        OnDestroy();
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    UpdateData(TRUE);
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM /*lParam*/)
{
    switch (LOWORD(wParam)) {
    case IDOK:
        OnOK();
        return TRUE;
    case IDCANCEL:
        OnCancel();
        return TRUE;
    default:
        return FALSE;
    }
}

void CDialog::OnTimer(UINT_PTR /*id*/) {}

void CDialog::OnPaint()
{
    CPaintDC dc(*this);
}

void CDialog::OnDestroy() {}

void CDialog::DoDataExchange(CDataExchange* /*exchange*/) {}
