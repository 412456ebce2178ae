#pragma once
// The spooler calls of the registration operations, which tests replace:
// Wine's spooler never refuses a printer name in use, never fails a port
// enumeration and runs on one Windows version only, so those answers can only
// be told. Defaults to the real functions.

#include "platform/Handles.h"

#include <windows.h>
#include <winspool.h>

struct SpoolerApi {
    HANDLE(WINAPI* addPrinter)(LPSTR server, DWORD level, LPBYTE printer);
    BOOL(WINAPI* addPrinterDriver)(LPSTR server, DWORD level, LPBYTE driver);
    BOOL(WINAPI* addMonitor)(LPSTR server, DWORD level, LPBYTE monitor);
    BOOL(WINAPI* addPrintProcessor)(LPSTR server, LPSTR environment, LPSTR path, LPSTR name);
    BOOL(WINAPI* enumPorts)(LPSTR server, DWORD level, LPBYTE ports, DWORD size, LPDWORD needed,
                            LPDWORD returned);
    BOOL(WINAPI* openPrinter)(LPSTR name, LPHANDLE printer, LPPRINTER_DEFAULTSA defaults);
    BOOL(WINAPI* getPrinter)(HANDLE printer, DWORD level, LPBYTE info, DWORD size, LPDWORD needed);
    BOOL(WINAPI* setPrinter)(HANDLE printer, DWORD level, LPBYTE info, DWORD command);
    BOOL(WINAPI* closePrinter)(HANDLE printer);
    BOOL(WINAPI* enumPrintProcessorDatatypes)(LPSTR server, LPSTR processor, DWORD level, LPBYTE types,
                                              DWORD size, LPDWORD needed, LPDWORD returned);
    // The default-printer entry of win.ini (Windows NT 4.0).
    BOOL(WINAPI* writeProfileString)(LPCSTR section, LPCSTR key, LPCSTR value);
    // The broadcast that tells every window of a changed default printer.
    LRESULT(WINAPI* sendMessageTimeout)(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT flags, UINT timeout, PDWORD_PTR result);
};

extern SpoolerApi g_spoolerApi;

// A printer handle that came from g_spoolerApi, closed through it as well (a
// replaced spooler hands out handles that the real one never made).
struct SpoolerPrinterTraits : PrinterHandleTraits {
    static void Close(Handle h) { g_spoolerApi.closePrinter(h); }
};
using SpoolerPrinter = HandleOwner<SpoolerPrinterTraits>;
