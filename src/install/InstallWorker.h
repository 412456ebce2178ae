#pragma once
// The installation itself: every step from the monitor checks to the serial
// settings, in one fixed order, on the worker thread that the install launch
// starts while the progress window runs.

#include "install/InstallContext.h"

#include <windows.h>

// The progress window's m_nResult: running until the worker's one write.
constexpr int kInstallRunning = 0;
constexpr int kInstallFailed = 1;
constexpr int kInstallDone = 2;

// Runs the install sequence on the context. Returns kInstallFailed or
// kInstallDone; g_szResultMessage holds the failure text, or on the NT family
// the success text; on success m_szModel holds the name the queue was created
// under. A failure after the Spooler service was stopped starts it again.
int RunInstallSequence(InstallContext& context);

// Thread procedure (AfxBeginThread) given an InstallStartRecord. Runs the
// sequence on the wizard's context, then, as its last action, publishes the
// outcome in the progress window's m_nResult. Always returns 0.
UINT InstallWorker(LPVOID startRecord);
