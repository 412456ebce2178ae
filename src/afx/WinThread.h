#pragma once
// Worker threads of the program: AfxBeginThread runs a procedure on a new
// Win32 thread (the C runtime's _beginthreadex, so that the runtime knows the
// thread), described by a CWinThread.

#include "platform/Handles.h"

#include <windows.h>

using AFX_THREADPROC = UINT (*)(LPVOID);

class CWinThread {
public:
    CWinThread(AFX_THREADPROC proc, LPVOID param) : m_pfnThreadProc(proc), m_pThreadParams(param) {}
    virtual ~CWinThread() = default;

    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    DWORD ResumeThread() const { return ::ResumeThread(m_hThread.Get()); }
    BOOL SetThreadPriority(int priority) const { return ::SetThreadPriority(m_hThread.Get(), priority); }

    // The thread handle, closed with the object.
    KernelHandle m_hThread;
    DWORD m_nThreadID = 0;
    // TRUE: the object deletes itself when the procedure returns, so the
    // caller must not use it after starting the thread. A caller that wants to
    // wait for the thread starts it suspended, clears this, resumes it, and
    // deletes the object itself after the wait.
    BOOL m_bAutoDelete = TRUE;

    AFX_THREADPROC m_pfnThreadProc;
    LPVOID m_pThreadParams;
};

// Starts proc(param) on a new thread with the priority, stack size (0: the
// default) and creation flags (CREATE_SUSPENDED or 0). Null when the thread
// could not be made. An exception that leaves proc ends the thread with
// exit code (UINT)-1 instead of ending the program.
CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority = THREAD_PRIORITY_NORMAL,
                           UINT stackSize = 0, DWORD createFlags = 0,
                           LPSECURITY_ATTRIBUTES security = nullptr);
