#pragma once
// The small modal window shown while the installation runs: a waiting text
// and an animated bar that measures nothing. The install worker reports its
// outcome in m_nResult; the window then runs the bar up (success) or down
// (failure) and closes itself. For Windows 98/Me it closes at 90 without
// waiting for the report.

#include "afx/Dialog.h"
#include "afx/ProgressCtrl.h"
#include "resource.h"

#include <atomic>

class CProgressDlg : public CDialog {
public:
    enum { IDD = IDD_PROGRESS };

    CProgressDlg();

    // The installation's TargetOs code; 0 closes the window at 90.
    int m_nTargetOs;
    // 0 running, 1 failed, 2 done. The worker's one write is its last action,
    // published with release semantics; the window reads it with acquire
    // semantics, so it sees the result text written before.
    std::atomic<int> m_nResult;
    // 1: the window and its controls take g_uiFont.
    int m_bChineseFont;
    CProgressCtrl m_progress;

protected:
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;
    void OnTimer(UINT_PTR id) override;
    void OnPaint() override;

private:
    // The whole animation, from the first timer tick until the window closes.
    void Animate();
};
