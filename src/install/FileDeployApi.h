#pragma once
// The system folders that file deployment asks for, which tests replace:
// Wine always names its folders. Defaults to the real functions.

#include <windows.h>

struct FileDeployApi {
    BOOL(WINAPI* getPrinterDriverDirectory)(LPSTR server, LPSTR environment, DWORD level, LPBYTE directory,
                                            DWORD size, LPDWORD needed);
    BOOL(WINAPI* getPrintProcessorDirectory)(LPSTR server, LPSTR environment, DWORD level, LPBYTE directory,
                                             DWORD size, LPDWORD needed);
    UINT(WINAPI* getSystemDirectory)(LPSTR directory, UINT size);
    UINT(WINAPI* getWindowsDirectory)(LPSTR directory, UINT size);
};

extern FileDeployApi g_fileDeployApi;
