/* Stand-in of the user-interface DLL of the maker's port monitors. Its
 * monitors offer no ports to add, configure or delete, so every dialog
 * request is declined. */

#include <windows.h>
#include <winspool.h>
#include <winsplp.h>

static BOOL WINAPI MonitorAddPortUI(PCWSTR server, HWND owner, PCWSTR portNameIn, PWSTR *portNameOut)
{
    (void)server;
    (void)owner;
    (void)portNameIn;
    if (portNameOut != NULL)
        *portNameOut = NULL;
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}

static BOOL WINAPI MonitorConfigurePortUI(PCWSTR server, HWND owner, PCWSTR portName)
{
    (void)server;
    (void)owner;
    (void)portName;
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}

static BOOL WINAPI MonitorDeletePortUI(PCWSTR server, HWND owner, PCWSTR portName)
{
    (void)server;
    (void)owner;
    (void)portName;
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}

static MONITORUI g_table = {
    .dwMonitorUISize = sizeof(MONITORUI),
    .pfnAddPortUI = MonitorAddPortUI,
    .pfnConfigurePortUI = MonitorConfigurePortUI,
    .pfnDeletePortUI = MonitorDeletePortUI,
};

PMONITORUI WINAPI InitializePrintMonitorUI(VOID)
{
    return &g_table;
}
