/* Stand-in of the system's "Standard TCP/IP Port" monitor, for test systems
 * that lack it (Wine). It is not part of the driver package: a test registers
 * it under that name. Its configuration channel takes the "AddPort" request
 * and keeps the request's data, byte for byte, in AddPort.bin beside the DLL
 * (replacing the one before), so that a test sees what a caller sent. It
 * knows no ports and needs none of the registry functions the spooler offers
 * (not every spooler has them). */

#include <windows.h>
#include <winspool.h>
#include <winsplp.h>

#include <string.h>

static LONG g_monitor;
static HMODULE g_self;

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        g_self = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

static BOOL RecordPath(char *path, DWORD size)
{
    DWORD len = GetModuleFileNameA(g_self, path, size);
    if (len == 0 || len >= size)
        return FALSE;
    char *slash = strrchr(path, '\\');
    if (slash == NULL || (size_t)(slash + 1 - path) + sizeof("AddPort.bin") > size)
        return FALSE;
    strcpy(slash + 1, "AddPort.bin");
    return TRUE;
}

static DWORD RecordAddPort(const BYTE *data, DWORD size)
{
    char path[MAX_PATH];
    if (!RecordPath(path, sizeof(path)))
        return ERROR_PATH_NOT_FOUND;
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError();
    DWORD written = 0;
    BOOL ok = size == 0 || WriteFile(file, data, size, &written, NULL);
    DWORD error = ok ? ERROR_SUCCESS : GetLastError();
    CloseHandle(file);
    return error;
}

static BOOL WINAPI MonitorEnumPorts(HANDLE monitor, LPWSTR server, DWORD level, LPBYTE ports, DWORD size,
                                    LPDWORD needed, LPDWORD returned)
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

static DWORD WINAPI MonitorXcvDataPort(HANDLE xcv, LPCWSTR name, PBYTE input, DWORD inputSize, PBYTE output,
                                       DWORD outputSize, PDWORD outputNeeded)
{
    (void)xcv;
    (void)output;
    (void)outputSize;
    if (outputNeeded != NULL)
        *outputNeeded = 0;
    if (name == NULL || lstrcmpW(name, L"AddPort") != 0 || (input == NULL && inputSize != 0))
        return ERROR_INVALID_PARAMETER;
    return RecordAddPort(input, inputSize);
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
