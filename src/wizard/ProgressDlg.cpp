#include "wizard/ProgressDlg.h"

#include "afx/DataExchange.h"
#include "afx/Font.h"
#include "afx/PaintDC.h"
#include "config/LangText.h"
#include "install/InstallWorker.h"
#include "platform/PlatformApi.h"
#include "wizard/UiFont.h"

#include <string>

namespace {

const UINT_PTR kAnimationTimer = 1;
const UINT kFirstTickMs = 100;
const int kHoldPosition = 90;
const DWORD kClimbStepMs = 80;
const DWORD kFinishStepMs = 10;
const DWORD kBeforeCloseMs = 100;
const COLORREF kTextColour = RGB(0, 51, 153);

} // namespace

CProgressDlg::CProgressDlg() : CDialog(IDD), m_nTargetOs(0), m_nResult(kInstallRunning), m_bChineseFont(0) {}

void CProgressDlg::DoDataExchange(CDataExchange* exchange)
{
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, IDC_PROGRESS, m_progress);
}

BOOL CProgressDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_bChineseFont == 1)
        ApplyFontToWindowAndChildren(*this, g_uiFont);
    m_progress.SetRange(0, 100);
    SetTimer(kAnimationTimer, kFirstTickMs);
    return TRUE;
}

void CProgressDlg::OnTimer(UINT_PTR id)
{
    if (id == kAnimationTimer)
        Animate();
}

void CProgressDlg::Animate()
{
    // The first tick runs everything; no second one may start it again.
    KillTimer(kAnimationTimer);
    for (int n = 0;;) {
        if (m_nTargetOs == 0 && n == kHoldPosition) {
            CDialog::OnOK();
            return;
        }
        const int result = m_nResult.load(std::memory_order_acquire);
        if (result == kInstallDone) {
            for (; n < 100; ++n) {
                g_platformApi.sleep(kFinishStepMs);
                m_progress.SetPos(n);
            }
            g_platformApi.sleep(kBeforeCloseMs);
            CDialog::OnOK();
            return;
        }
        if (result == kInstallFailed) {
            for (; n > 0; --n) {
                g_platformApi.sleep(kFinishStepMs);
                m_progress.SetPos(n);
            }
            m_progress.SetPos(0);
            g_platformApi.sleep(kBeforeCloseMs);
            CDialog::OnOK();
            return;
        }
        if (n >= kHoldPosition)
            n = kHoldPosition;
        m_progress.SetPos(n);
        g_platformApi.sleep(kClimbStepMs);
        ++n;
    }
}

void CProgressDlg::OnPaint()
{
    CPaintDC dc(*this);
    RECT client = {};
    GetClientRect(&client);
    const std::string text = CLangText("Progress").GetText("Wait");

    CFont font;
    font.CreateFont(20, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, 0, 0, 0, 0, "System");
    CDCObjectSelection selection(dc, font.GetSafeHandle());
    RECT textArea = client;
    textArea.bottom = 2 * client.bottom / 3;
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(kTextColour);
    dc.DrawText(text.c_str(), -1, &textArea, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}
