/* Stand-in of the maker's language monitor for USB printers. A language
 * monitor sits between the spooler and the port monitor of a port: the
 * spooler opens a port through it with OpenPortEx and hands it the port
 * monitor's table; the stand-in adds nothing to the data and passes every
 * call through. It keeps no settings and does not use the registry functions
 * the spooler offers (not every spooler has them). */

#include <windows.h>
#include <winspool.h>
#include <winsplp.h>

static LONG g_monitor;

/* One open port: the port monitor's table and its handle of the port. */
typedef struct {
    MONITOR2 *portMonitor;
    HANDLE port;
} LanguagePort;

static LanguagePort *PortOf(HANDLE handle)
{
    LanguagePort *port = (LanguagePort *)handle;
    if (port == NULL || port->portMonitor == NULL)
        SetLastError(ERROR_INVALID_HANDLE);
    return port != NULL && port->portMonitor != NULL ? port : NULL;
}

/* A language monitor has no ports of its own. */
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

static BOOL WINAPI MonitorOpenPortEx(HANDLE monitor, HANDLE monitorPort, LPWSTR portName,
                              LPWSTR printerName, PHANDLE handle, MONITOR2 *portMonitor)
{
    (void)monitor;
    (void)printerName;
    if (handle == NULL || portMonitor == NULL || portMonitor->pfnOpenPort == NULL) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *handle = NULL;
    LanguagePort *port = (LanguagePort *)HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(*port));
    if (port == NULL) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    if (!portMonitor->pfnOpenPort(monitorPort, portName, &port->port)) {
        DWORD error = GetLastError();
        HeapFree(GetProcessHeap(), 0, port);
        SetLastError(error);
        return FALSE;
    }
    port->portMonitor = portMonitor;
    *handle = (HANDLE)port;
    return TRUE;
}

static BOOL WINAPI MonitorStartDocPort(HANDLE handle, LPWSTR printer, DWORD job, DWORD level, LPBYTE info)
{
    LanguagePort *port = PortOf(handle);
    return port != NULL && port->portMonitor->pfnStartDocPort(port->port, printer, job, level, info);
}

static BOOL WINAPI MonitorWritePort(HANDLE handle, LPBYTE buffer, DWORD size, LPDWORD written)
{
    LanguagePort *port = PortOf(handle);
    return port != NULL && port->portMonitor->pfnWritePort(port->port, buffer, size, written);
}

static BOOL WINAPI MonitorReadPort(HANDLE handle, LPBYTE buffer, DWORD size, LPDWORD read)
{
    LanguagePort *port = PortOf(handle);
    return port != NULL && port->portMonitor->pfnReadPort(port->port, buffer, size, read);
}

static BOOL WINAPI MonitorEndDocPort(HANDLE handle)
{
    LanguagePort *port = PortOf(handle);
    return port != NULL && port->portMonitor->pfnEndDocPort(port->port);
}

static BOOL WINAPI MonitorClosePort(HANDLE handle)
{
    LanguagePort *port = PortOf(handle);
    if (port == NULL)
        return FALSE;
    BOOL closed = port->portMonitor->pfnClosePort(port->port);
    HeapFree(GetProcessHeap(), 0, port);
    return closed;
}

/* The printer answers no questions through the stand-in. */
static BOOL WINAPI MonitorGetPrinterDataFromPort(HANDLE handle, DWORD controlId, LPWSTR valueName,
                                          LPWSTR input, DWORD inputSize, LPWSTR output,
                                          DWORD outputSize, LPDWORD returned)
{
    (void)handle;
    (void)controlId;
    (void)valueName;
    (void)input;
    (void)inputSize;
    (void)output;
    (void)outputSize;
    if (returned != NULL)
        *returned = 0;
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}

static VOID WINAPI MonitorShutdown(HANDLE monitor)
{
    (void)monitor;
}

static MONITOR2 g_table = {
    .cbSize = sizeof(MONITOR2),
    .pfnEnumPorts = MonitorEnumPorts,
    .pfnOpenPortEx = MonitorOpenPortEx,
    .pfnStartDocPort = MonitorStartDocPort,
    .pfnWritePort = MonitorWritePort,
    .pfnReadPort = MonitorReadPort,
    .pfnEndDocPort = MonitorEndDocPort,
    .pfnClosePort = MonitorClosePort,
    .pfnGetPrinterDataFromPort = MonitorGetPrinterDataFromPort,
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
