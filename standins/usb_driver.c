/* Stand-in of the maker's USB device driver TVPUSB.sys: a DLL under the
 * driver's name, never loaded as a driver; what the setup reads of it is its
 * version resource. */

#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH)
        DisableThreadLibraryCalls(instance);
    return TRUE;
}
