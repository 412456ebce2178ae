#include "platform/Wow64.h"

#include "platform/Handles.h"
#include "platform/PlatformApi.h"

#include <windows.h>

#include <cstdio>

bool g_bWow64 = false;

int IsWow64()
{
    ModuleHandle kernel;
    char systemDir[261] = {};
    UINT len = ::GetSystemDirectoryA(systemDir, sizeof(systemDir));
    if (len > 0 && len < sizeof(systemDir)) {
        char path[261 + 16];
        int n = std::snprintf(path, sizeof(path), "%s\\kernel32.dll", systemDir);
        if (n > 0 && static_cast<size_t>(n) < sizeof(path))
            kernel.Reset(::LoadLibraryA(path));
    }
    if (!kernel)
        kernel.Reset(::LoadLibraryA("kernel32.dll"));
    if (!kernel)
        return 0;

    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
    auto isWow64Process = reinterpret_cast<IsWow64ProcessFn>(
        reinterpret_cast<void*>(g_platformApi.getProcAddress(kernel.Get(), "IsWow64Process")));
    // A Windows without the function is a 32-bit Windows.
    if (isWow64Process == nullptr)
        return 0;
    BOOL wow64 = FALSE;
    if (!isWow64Process(::GetCurrentProcess(), &wow64))
        return 0;
    return wow64 ? 1 : 0;
}
