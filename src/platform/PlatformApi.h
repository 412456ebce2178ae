#pragma once
// The few answers of the running system that tests replace: the program's own
// path (which fixes the setup folder), the version record and run-time lookups
// of optional functions. Everything else goes to the real system.

#include <windows.h>

struct PlatformApi {
    DWORD(WINAPI* getModuleFileName)(HMODULE, LPSTR, DWORD);
    BOOL(WINAPI* getVersionEx)(LPOSVERSIONINFOA);
    FARPROC(WINAPI* getProcAddress)(HMODULE, LPCSTR);
};

// Defaults to the real functions.
extern PlatformApi g_platformApi;
