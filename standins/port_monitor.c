/* Stand-in of the maker's port monitors (USB and serial). The spooler loads
 * it and asks it for its function table; the stand-in knows no ports, so the
 * spooler lists none of it and never opens one. It keeps no settings: it does
 * not use the registry functions the spooler offers (not every spooler has
 * them). */

#include <windows.h>
#include <winspool.h>
#include <winsplp.h>

/* One monitor object per process: the spooler loads a monitor once. */
static LONG g_monitor;

static BOOL WINAPI MonitorEnumPorts(HANDLE monitor, LPWSTR server, DWORD level, LPBYTE ports,
                             DWORD size, LPDWORD needed, LPDWORD returned)
{
    (void)monitor;
    (void)server;
    (void)ports;
    (void)size;
    if (needed == NULL || returned == NULL) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *needed = 0;
    *returned = 0;
    if (level != 1 && level != 2) {
        SetLastError(ERROR_INVALID_LEVEL);
        return FALSE;
    }
    return TRUE;
}

static BOOL WINAPI MonitorOpenPort(HANDLE monitor, LPWSTR name, PHANDLE port)
{
    (void)monitor;
    (void)name;
    if (port != NULL)
        *port = NULL;
    SetLastError(ERROR_UNKNOWN_PORT);
    return FALSE;
}

/* No port can be open, so every port handle is unknown. */
static BOOL WINAPI MonitorStartDocPort(HANDLE port, LPWSTR printer, DWORD job, DWORD level, LPBYTE info)
{
    (void)port;
    (void)printer;
    (void)job;
    (void)level;
    (void)info;
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
}

static BOOL WINAPI MonitorWritePort(HANDLE port, LPBYTE buffer, DWORD size, LPDWORD written)
{
    (void)port;
    (void)buffer;
    (void)size;
    if (written != NULL)
        *written = 0;
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
}

static BOOL WINAPI MonitorReadPort(HANDLE port, LPBYTE buffer, DWORD size, LPDWORD read)
{
    (void)port;
    (void)buffer;
    (void)size;
    if (read != NULL)
        *read = 0;
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
}

static BOOL WINAPI MonitorEndDocPort(HANDLE port)
{
    (void)port;
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
}

static BOOL WINAPI MonitorClosePort(HANDLE port)
{
    (void)port;
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
}

/* The configuration channel opens but answers no request. */
static BOOL WINAPI MonitorXcvOpenPort(HANDLE monitor, LPCWSTR object, ACCESS_MASK access, PHANDLE xcv)
{
    (void)object;
    (void)access;
    if (xcv == NULL) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *xcv = monitor;
    return TRUE;
}

static DWORD WINAPI MonitorXcvDataPort(HANDLE xcv, LPCWSTR name, PBYTE input, DWORD inputSize,
                                PBYTE output, DWORD outputSize, PDWORD outputNeeded)
{
    (void)xcv;
    (void)name;
    (void)input;
    (void)inputSize;
    (void)output;
    (void)outputSize;
    if (outputNeeded != NULL)
        *outputNeeded = 0;
    return ERROR_INVALID_PARAMETER;
}

static BOOL WINAPI MonitorXcvClosePort(HANDLE xcv)
{
    (void)xcv;
    return TRUE;
}

static VOID WINAPI MonitorShutdown(HANDLE monitor)
{
    (void)monitor;
}

/* Ports come from no dialog (no AddPort, ConfigurePort, DeletePort), and the
 * stand-in talks to no printer (no bidirectional requests). */
static MONITOR2 g_table = {
    .cbSize = sizeof(MONITOR2),
    .pfnEnumPorts = MonitorEnumPorts,
    .pfnOpenPort = MonitorOpenPort,
    .pfnStartDocPort = MonitorStartDocPort,
    .pfnWritePort = MonitorWritePort,
    .pfnReadPort = MonitorReadPort,
    .pfnEndDocPort = MonitorEndDocPort,
    .pfnClosePort = MonitorClosePort,
    .pfnXcvOpenPort = MonitorXcvOpenPort,
    .pfnXcvDataPort = MonitorXcvDataPort,
    .pfnXcvClosePort = MonitorXcvClosePort,
    .pfnShutdown = MonitorShutdown,
};

LPMONITOR2 WINAPI InitializePrintMonitor2(PMONITORINIT init, PHANDLE monitor)
{
    if (init == NULL || monitor == NULL) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return NULL;
    }
    *monitor = (HANDLE)&g_monitor;
    return &g_table;
}
