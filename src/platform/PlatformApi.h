#pragma once
// The few answers of the running system that tests replace: the program's own
// path (which fixes the setup folder), the version record, run-time lookups of
// optional functions, the system's error descriptions and the clock of every
// wait. Everything else goes to the real system.

#include <windows.h>

struct PlatformApi {
    DWORD(WINAPI* getModuleFileName)(HMODULE, LPSTR, DWORD);
    BOOL(WINAPI* getVersionEx)(LPOSVERSIONINFOA);
    FARPROC(WINAPI* getProcAddress)(HMODULE, LPCSTR);
    DWORD(WINAPI* formatMessage)(DWORD, LPCVOID, DWORD, DWORD, LPSTR, DWORD, va_list*);
    // Every wait of the program goes through here, so tests need not wait.
    void(WINAPI* sleep)(DWORD);
    // Libraries loaded for run-time lookups (Kernel32.dll for the WOW64
    // redirection functions).
    HMODULE(WINAPI* loadLibrary)(LPCSTR);
};

// Defaults to the real functions.
extern PlatformApi g_platformApi;
