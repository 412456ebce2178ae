#include "ports/PortsApi.h"

#include <shellapi.h>

namespace {

// A forwarder in this module, so that the table is constant-initialised.
HINSTANCE WINAPI RealShellExecute(HWND window, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR folder,
                                  INT show)
{
    return ::ShellExecuteA(window, verb, file, parameters, folder, show);
}

} // namespace

PortsApi g_portsApi = {
    RealShellExecute,
};
