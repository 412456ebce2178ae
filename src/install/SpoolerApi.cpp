#include "install/SpoolerApi.h"

namespace {

// Forwarders in this module, so that the table is constant-initialised.
HANDLE WINAPI RealAddPrinter(LPSTR server, DWORD level, LPBYTE printer)
{
    return ::AddPrinterA(server, level, printer);
}

BOOL WINAPI RealAddPrinterDriver(LPSTR server, DWORD level, LPBYTE driver)
{
    return ::AddPrinterDriverA(server, level, driver);
}

BOOL WINAPI RealAddMonitor(LPSTR server, DWORD level, LPBYTE monitor)
{
    return ::AddMonitorA(server, level, monitor);
}

BOOL WINAPI RealAddPrintProcessor(LPSTR server, LPSTR environment, LPSTR path, LPSTR name)
{
    return ::AddPrintProcessorA(server, environment, path, name);
}

BOOL WINAPI RealEnumPorts(LPSTR server, DWORD level, LPBYTE ports, DWORD size, LPDWORD needed,
                          LPDWORD returned)
{
    return ::EnumPortsA(server, level, ports, size, needed, returned);
}

BOOL WINAPI RealOpenPrinter(LPSTR name, LPHANDLE printer, LPPRINTER_DEFAULTSA defaults)
{
    return ::OpenPrinterA(name, printer, defaults);
}

BOOL WINAPI RealGetPrinter(HANDLE printer, DWORD level, LPBYTE info, DWORD size, LPDWORD needed)
{
    return ::GetPrinterA(printer, level, info, size, needed);
}

BOOL WINAPI RealSetPrinter(HANDLE printer, DWORD level, LPBYTE info, DWORD command)
{
    return ::SetPrinterA(printer, level, info, command);
}

BOOL WINAPI RealClosePrinter(HANDLE printer)
{
    return ::ClosePrinter(printer);
}

BOOL WINAPI RealEnumPrintProcessorDatatypes(LPSTR server, LPSTR processor, DWORD level, LPBYTE types,
                                            DWORD size, LPDWORD needed, LPDWORD returned)
{
    return ::EnumPrintProcessorDatatypesA(server, processor, level, types, size, needed, returned);
}

BOOL WINAPI RealWriteProfileString(LPCSTR section, LPCSTR key, LPCSTR value)
{
    return ::WriteProfileStringA(section, key, value);
}

LRESULT WINAPI RealSendMessageTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT flags, UINT timeout, PDWORD_PTR result)
{
    return ::SendMessageTimeoutA(window, message, wParam, lParam, flags, timeout, result);
}

} // namespace

SpoolerApi g_spoolerApi = {
    RealAddPrinter,
    RealAddPrinterDriver,
    RealAddMonitor,
    RealAddPrintProcessor,
    RealEnumPorts,
    RealOpenPrinter,
    RealGetPrinter,
    RealSetPrinter,
    RealClosePrinter,
    RealEnumPrintProcessorDatatypes,
    RealWriteProfileString,
    RealSendMessageTimeout,
};
