#include "afx/WinThread.h"

#include <process.h>

namespace {

unsigned __stdcall ThreadEntry(void* param)
{
    auto* thread = static_cast<CWinThread*>(param);
    UINT exitCode = static_cast<UINT>(-1);
    try {
        exitCode = thread->m_pfnThreadProc(thread->m_pThreadParams);
    } catch (...) {
        // No exception may leave a thread procedure.
    }
    if (thread->m_bAutoDelete)
        delete thread;
    return exitCode;
}

} // namespace

CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority, UINT stackSize, DWORD createFlags,
                           LPSECURITY_ATTRIBUTES security)
{
    auto* thread = new CWinThread(proc, param);
    unsigned threadId = 0;
    // Always made suspended: the object must be complete before the thread
    // can reach it, and the priority set before it runs.
    const uintptr_t handle =
        ::_beginthreadex(security, stackSize, ThreadEntry, thread, CREATE_SUSPENDED, &threadId);
    if (handle == 0) {
        delete thread;
        return nullptr;
    }
    thread->m_hThread.Reset(reinterpret_cast<HANDLE>(handle));
    thread->m_nThreadID = threadId;
    thread->SetThreadPriority(priority);
    if ((createFlags & CREATE_SUSPENDED) == 0)
        thread->ResumeThread();
    return thread;
}
