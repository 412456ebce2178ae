#pragma once
// The maker's DLLs beside the program (TvUsbInt.dll, USBPrintDll.dll): loaded
// from the program's folder by full path and released when their owner goes,
// on every path, failing ones included.

#include "platform/Handles.h"
#include "platform/PlatformApi.h"

#include <windows.h>

// Loads name from the program's folder. An empty owner when the DLL cannot be
// loaded or its path does not fit a module path (260 bytes).
ModuleHandle LoadProgramFolderLibrary(const char* name);

// An export of module as a function pointer, null when it is missing.
template <typename Function>
Function FindExport(const ModuleHandle& module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(g_platformApi.getProcAddress(module.Get(), name)));
}
