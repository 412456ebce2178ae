/* Stand-in of a printer driver's graphics DLL (the maker's and the Unidrv
 * one). It reports itself as a user-mode driver and declines to be enabled:
 * a print job rendered through it fails instead of printing nothing. */

#include <windows.h>

/* DRVENABLEDATA of the graphics engine. */
typedef struct {
    ULONG iDriverVersion;
    ULONG c;
    void *pdrvfn;
} DriverEnableData;

#define kUserModeQuery 1 /* DRVQUERY_USERMODE */

BOOL WINAPI DrvQueryDriverInfo(DWORD mode, PVOID buffer, DWORD size, PDWORD needed)
{
    if (needed == NULL) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (mode != kUserModeQuery) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *needed = sizeof(DWORD);
    if (buffer == NULL || size < sizeof(DWORD)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    *(DWORD *)buffer = TRUE;
    return TRUE;
}

BOOL WINAPI DrvEnableDriver(ULONG engineVersion, ULONG size, DriverEnableData *data)
{
    (void)engineVersion;
    (void)size;
    (void)data;
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}

VOID WINAPI DrvDisableDriver(VOID)
{
}
