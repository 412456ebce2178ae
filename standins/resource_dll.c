/* Stand-in of a resource DLL of the driver package (driver and language
 * resources, the USB id helper): a DLL that loads and does nothing else. */

#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH)
        DisableThreadLibraryCalls(instance);
    return TRUE;
}
