/* Stand-in of an OEM plug-in of the Unidrv driver (user interface or
 * rendering). The driver asks a plug-in for its class object; the stand-in
 * offers none, so the driver runs without it. */

#include <windows.h>

HRESULT WINAPI DllGetClassObject(REFCLSID classId, REFIID interfaceId, LPVOID *object)
{
    (void)classId;
    (void)interfaceId;
    if (object != NULL)
        *object = NULL;
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT WINAPI DllCanUnloadNow(void)
{
    return S_OK;
}
