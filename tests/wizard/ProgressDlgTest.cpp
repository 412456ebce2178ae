// The progress window run modally from the program's own template, its waits
// recorded instead of waited for: each wait sees the bar as the user would at
// that moment, and the test plays the install worker by writing m_nResult at a
// chosen wait.

#include "wizard/ProgressDlg.h"

#include "afx/WinThread.h"
#include "install/InstallContext.h"
#include "install/InstallWorker.h"
#include "resource.h"
#include "support/ProgramResources.h"
#include "support/RecordedWaits.h"
#include "support/SetupFolder.h"
#include "wizard/UiFont.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

namespace {

// One wait of the animation and the bar's position while it passes.
struct Step {
    DWORD ms;
    int position;
    bool operator==(const Step& other) const { return ms == other.ms && position == other.position; }
};

std::ostream& operator<<(std::ostream& out, const Step& step)
{
    return out << "{" << step.ms << " ms at " << step.position << "}";
}

class ProgressWindow : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(resources.Loaded()) << "the built DriverSetup.exe has no resources"; }

    // Runs the window modally; reportAt(number of 80 ms waits so far) tells
    // which result the worker has written by then.
    INT_PTR Run(int targetOs, const std::function<int(int climbWaits)>& reportAt)
    {
        dialog.m_nTargetOs = targetOs;
        dialog.m_nResult = reportAt(0);
        int climbWaits = 0;
        waits.OnWait([&](DWORD ms) {
            steps.push_back({ms, dialog.m_progress.GetPos()});
            if (ms == 80)
                ++climbWaits;
            const int report = reportAt(climbWaits);
            if (report != kInstallRunning)
                dialog.m_nResult.store(report, std::memory_order_release);
        });
        return dialog.DoModal();
    }

    static std::vector<Step> Steps(DWORD ms, int first, int last)
    {
        std::vector<Step> steps;
        const int direction = first <= last ? 1 : -1;
        for (int position = first;; position += direction) {
            steps.push_back({ms, position});
            if (position == last)
                break;
        }
        return steps;
    }

    static std::vector<Step> Join(std::initializer_list<std::vector<Step>> parts)
    {
        std::vector<Step> all;
        for (const auto& part : parts)
            all.insert(all.end(), part.begin(), part.end());
        return all;
    }

    SetupFolder folder;
    ProgramResources resources;
    RecordedWaits waits;
    CProgressDlg dialog;
    std::vector<Step> steps;
};

TEST_F(ProgressWindow, SuccessBeforeTheFirstTickRunsTheBarUpTo99AndCloses)
{
    EXPECT_EQ(Run(7, [](int) { return kInstallDone; }), IDOK);

    // Each 10 ms wait comes before the next position is set: the bar shows
    // 0, 0, 1, ... 98, and 99 during the last 100 ms before the window closes.
    EXPECT_EQ(steps, Join({{{10, 0}}, Steps(10, 0, 98), {{100, 99}}}));
}

TEST_F(ProgressWindow, FailureBeforeTheFirstTickSetsTheBarToZeroAndCloses)
{
    EXPECT_EQ(Run(7, [](int) { return kInstallFailed; }), IDOK);

    EXPECT_EQ(steps, (std::vector<Step>{{100, 0}}));
}

TEST_F(ProgressWindow, TheBarClimbsTo90AndHoldsThereUntilTheWorkerReports)
{
    // The worker reports success after 300 steps of 80 ms, long after 90.
    EXPECT_EQ(Run(7, [](int climbed) { return climbed >= 300 ? kInstallDone : kInstallRunning; }), IDOK);

    std::vector<Step> holding(300 - 91, Step{80, 90});
    EXPECT_EQ(steps, Join({Steps(80, 0, 90), holding,
                           // Success goes on from 91 and never shows 100.
                           Steps(10, 90, 98), {{100, 99}}}));
}

TEST_F(ProgressWindow, FailureAfter90RunsTheBarBackDownToZero)
{
    EXPECT_EQ(Run(7, [](int climbed) { return climbed >= 95 ? kInstallFailed : kInstallRunning; }), IDOK);

    const std::vector<Step> down(steps.end() - 92, steps.end());
    // From its hold at 90 the bar runs from 91 back to 1, then shows 0 for
    // the last 100 ms.
    EXPECT_EQ(down, Join({{{10, 90}}, Steps(10, 91, 2), {{100, 0}}}));
    EXPECT_EQ(std::count_if(steps.begin(), steps.end(), [](const Step& s) { return s.ms == 80; }), 95);
}

TEST_F(ProgressWindow, ForWindows98TheWindowClosesAt90WithoutWaitingForTheWorker)
{
    EXPECT_EQ(Run(0, [](int) { return kInstallRunning; }), IDOK);

    EXPECT_EQ(steps, Steps(80, 0, 89));
    EXPECT_EQ(dialog.m_nResult.load(), kInstallRunning);
}

TEST_F(ProgressWindow, TheWindowIsAPopupWithoutCaptionAndABarFrom0To100)
{
    LONG style = 0;
    int lower = -1;
    int upper = -1;
    HWND bar = nullptr;
    Run(7, [&](int climbed) {
        if (climbed == 1) {
            style = ::GetWindowLongA(dialog.m_hWnd, GWL_STYLE);
            bar = dialog.GetDlgItem(IDC_PROGRESS);
            dialog.m_progress.GetRange(lower, upper);
            return kInstallDone;
        }
        return kInstallRunning;
    });

    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_TRUE(style & DS_MODALFRAME);
    EXPECT_EQ(style & WS_CAPTION, 0);
    EXPECT_NE(bar, nullptr);
    EXPECT_EQ(bar, dialog.m_progress.m_hWnd);
    EXPECT_EQ(lower, 0);
    EXPECT_EQ(upper, 100);
}

// The dialog window keeps its template's font (dialogs take WM_SETFONT for
// their children only); the bar shows whether the font was sent.
TEST_F(ProgressWindow, TheChineseFontGoesToTheBar)
{
    g_uiFont.CreateFont(13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma");
    ASSERT_NE(g_uiFont.GetSafeHandle(), nullptr);
    for (int chinese : {0, 1}) {
        SCOPED_TRACE(chinese);
        CProgressDlg window;
        window.m_nTargetOs = 7;
        window.m_bChineseFont = chinese;
        HFONT barFont = nullptr;
        waits.OnWait([&](DWORD) {
            barFont = reinterpret_cast<HFONT>(window.m_progress.SendMessage(WM_GETFONT));
            window.m_nResult = kInstallFailed;
        });

        EXPECT_EQ(window.DoModal(), IDOK);

        EXPECT_EQ(barFont == g_uiFont.GetSafeHandle(), chinese == 1);
    }
    g_uiFont.DeleteObject();
}

// A worker on its own thread: it writes the result text, then the result.
struct FakeWorker {
    CProgressDlg* progress;
    int outcome;
};

UINT RunFakeWorker(LPVOID param)
{
    auto* worker = static_cast<FakeWorker*>(param);
    ::Sleep(300);
    g_szResultMessage = "text of the outcome";
    worker->progress->m_nResult.store(worker->outcome, std::memory_order_release);
    return 0;
}

TEST_F(ProgressWindow, AWorkerOnAnotherThreadEndsTheWindowWithItsResultTextInPlace)
{
    // The window's waits pass for real, a millisecond each, while it polls.
    RecordedWaits realWaits(1);
    for (int outcome : {kInstallDone, kInstallFailed}) {
        SCOPED_TRACE(outcome);
        g_szResultMessage.clear();
        CProgressDlg window;
        window.m_nTargetOs = 7;
        FakeWorker worker{&window, outcome};
        CWinThread* thread = AfxBeginThread(RunFakeWorker, &worker, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
        ASSERT_NE(thread, nullptr);
        thread->m_bAutoDelete = FALSE;
        thread->ResumeThread();

        EXPECT_EQ(window.DoModal(), IDOK);

        EXPECT_EQ(window.m_nResult.load(std::memory_order_acquire), outcome);
        EXPECT_EQ(g_szResultMessage, "text of the outcome");
        EXPECT_EQ(::WaitForSingleObject(thread->m_hThread.Get(), 10000), WAIT_OBJECT_0);
        delete thread;
    }
    g_szResultMessage.clear();
}

} // namespace
