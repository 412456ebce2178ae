// The class layer under the wizard's windows: the one dialog procedure (its
// routing and that no exception leaves it), the data exchange that binds
// controls on every run, and worker threads.

#include "afx/DataExchange.h"
#include "afx/Dialog.h"
#include "afx/ProgressCtrl.h"
#include "afx/WinThread.h"
#include "resource.h"
#include "support/ProgramResources.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

// A dialog on the progress window's template that does what a test asks at
// its start and records what the layer calls.
class ProbeDialog : public CDialog {
public:
    ProbeDialog() : CDialog(IDD_PROGRESS) {}

    std::function<void(ProbeDialog&)> atStart;
    std::vector<BOOL> exchanges; // direction of every data exchange
    std::vector<HWND> boundBars; // the bar bound at each start
    CProgressCtrl bar;

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        boundBars.push_back(bar.m_hWnd);
        EXPECT_EQ(bar.m_hWnd, GetDlgItem(IDC_PROGRESS));
        if (atStart)
            atStart(*this);
        return TRUE;
    }
    void DoDataExchange(CDataExchange* exchange) override
    {
        exchanges.push_back(exchange->m_bSaveAndValidate);
        DDX_Control(exchange, IDC_PROGRESS, bar);
    }
};

class AfxLayer : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(resources.Loaded()); }
    ProgramResources resources;
};

TEST_F(AfxLayer, OkAndCancelEndTheDialogWithTheirIds)
{
    const struct {
        WPARAM command;
        INT_PTR expected;
        std::vector<BOOL> exchanges; // OK takes the controls' values first
    } cases[] = {
        {IDOK, IDOK, {FALSE, TRUE}},
        {IDCANCEL, IDCANCEL, {FALSE}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        ProbeDialog dialog;
        dialog.atStart = [&](ProbeDialog& d) { d.PostMessage(WM_COMMAND, c.command, 0); };

        EXPECT_EQ(dialog.DoModal(), c.expected);
        EXPECT_EQ(dialog.exchanges, c.exchanges);
        EXPECT_EQ(dialog.m_hWnd, nullptr);
    }
}

TEST_F(AfxLayer, ADialogRunAgainBindsItsNewControls)
{
    ProbeDialog dialog;
    dialog.atStart = [](ProbeDialog& d) { d.PostMessage(WM_COMMAND, IDCANCEL, 0); };

    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);

    ASSERT_EQ(dialog.boundBars.size(), 2u);
    EXPECT_NE(dialog.boundBars[0], nullptr);
    EXPECT_NE(dialog.boundBars[1], nullptr);
}

TEST_F(AfxLayer, AnExceptionInAHandlerEndsTheDialogInsteadOfCrossingTheCallback)
{
    ProbeDialog dialog;
    dialog.atStart = [](ProbeDialog&) { throw std::runtime_error("handler failed"); };

    EXPECT_EQ(dialog.DoModal(), -1);
}

TEST_F(AfxLayer, AMissingTemplateFailsTheModalRun)
{
    CDialog dialog(4242);

    EXPECT_EQ(dialog.DoModal(), -1);
}

UINT ReturnParameter(LPVOID param)
{
    return static_cast<UINT>(reinterpret_cast<UINT_PTR>(param));
}

UINT Throw(LPVOID)
{
    throw std::runtime_error("worker failed");
}

TEST(AfxBeginThread, RunsTheProcedureWithItsParameterAndPriority)
{
    CWinThread* thread = AfxBeginThread(ReturnParameter, reinterpret_cast<LPVOID>(UINT_PTR{42}),
                                        THREAD_PRIORITY_BELOW_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(thread, nullptr);
    thread->m_bAutoDelete = FALSE;
    EXPECT_EQ(::GetThreadPriority(thread->m_hThread.Get()), THREAD_PRIORITY_BELOW_NORMAL);

    thread->ResumeThread();

    ASSERT_EQ(::WaitForSingleObject(thread->m_hThread.Get(), 10000), WAIT_OBJECT_0);
    DWORD exitCode = 0;
    ::GetExitCodeThread(thread->m_hThread.Get(), &exitCode);
    EXPECT_EQ(exitCode, 42u);
    delete thread;
}

TEST(AfxBeginThread, AnExceptionEndsOnlyTheThread)
{
    CWinThread* thread = AfxBeginThread(Throw, nullptr, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(thread, nullptr);
    thread->m_bAutoDelete = FALSE;
    thread->ResumeThread();

    ASSERT_EQ(::WaitForSingleObject(thread->m_hThread.Get(), 10000), WAIT_OBJECT_0);
    DWORD exitCode = 0;
    ::GetExitCodeThread(thread->m_hThread.Get(), &exitCode);
    EXPECT_EQ(exitCode, static_cast<DWORD>(-1));
    delete thread;
}

} // namespace
