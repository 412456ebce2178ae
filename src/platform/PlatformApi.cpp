#include "platform/PlatformApi.h"

namespace {

// Forwarders in this module: their addresses are constants, so the table is
// ready before any static object (the language texts) uses it.
DWORD WINAPI RealGetModuleFileName(HMODULE module, LPSTR path, DWORD size)
{
    return ::GetModuleFileNameA(module, path, size);
}

BOOL WINAPI RealGetVersionEx(LPOSVERSIONINFOA info)
{
    return ::GetVersionExA(info);
}

FARPROC WINAPI RealGetProcAddress(HMODULE module, LPCSTR name)
{
    return ::GetProcAddress(module, name);
}

DWORD WINAPI RealFormatMessage(DWORD flags, LPCVOID source, DWORD id, DWORD language, LPSTR buffer,
                               DWORD size, va_list* args)
{
    return ::FormatMessageA(flags, source, id, language, buffer, size, args);
}

void WINAPI RealSleep(DWORD milliseconds)
{
    ::Sleep(milliseconds);
}

HMODULE WINAPI RealLoadLibrary(LPCSTR name)
{
    return ::LoadLibraryA(name);
}

} // namespace

PlatformApi g_platformApi = {
    RealGetModuleFileName,
    RealGetVersionEx,
    RealGetProcAddress,
    RealFormatMessage,
    RealSleep,
    RealLoadLibrary,
};
