#include "install/FileDeployApi.h"

#include <winspool.h>

namespace {

BOOL WINAPI RealGetPrinterDriverDirectory(LPSTR server, LPSTR environment, DWORD level, LPBYTE directory,
                                          DWORD size, LPDWORD needed)
{
    return ::GetPrinterDriverDirectoryA(server, environment, level, directory, size, needed);
}

BOOL WINAPI RealGetPrintProcessorDirectory(LPSTR server, LPSTR environment, DWORD level, LPBYTE directory,
                                           DWORD size, LPDWORD needed)
{
    return ::GetPrintProcessorDirectoryA(server, environment, level, directory, size, needed);
}

UINT WINAPI RealGetSystemDirectory(LPSTR directory, UINT size)
{
    return ::GetSystemDirectoryA(directory, size);
}

UINT WINAPI RealGetWindowsDirectory(LPSTR directory, UINT size)
{
    return ::GetWindowsDirectoryA(directory, size);
}

} // namespace

FileDeployApi g_fileDeployApi = {
    RealGetPrinterDriverDirectory, RealGetPrintProcessorDirectory, RealGetSystemDirectory,
    RealGetWindowsDirectory,
};
