#include "afx/DataExchange.h"

#include "afx/Wnd.h"

HWND CDataExchange::PrepareCtrl(int id) const
{
    return m_pDlgWnd != nullptr ? m_pDlgWnd->GetDlgItem(id) : nullptr;
}

void DDX_Control(CDataExchange* exchange, int id, CWnd& control)
{
    // Bound again on every fill: a dialog run a second time has new controls.
    if (!exchange->m_bSaveAndValidate || control.m_hWnd == nullptr)
        control.Attach(exchange->PrepareCtrl(id));
}
