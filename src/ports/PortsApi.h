#pragma once
// The one call of the USB operations that tests watch: starting the maker's
// USB driver installer. Whether a program was started cannot be seen from
// outside without waiting for it, so tests put a recorder in front of the real
// call. Defaults to the real function.

#include <windows.h>

struct PortsApi {
    HINSTANCE(WINAPI* shellExecute)(HWND window, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR folder,
                                    INT show);
};

extern PortsApi g_portsApi;
