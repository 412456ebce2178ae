/* Stand-in of the maker's USB print DLL (USBPrintDll.dll): lists the
 * simulated printers of UsbPrinters.txt in the caller's 1024-byte buffer, in
 * the file's order, separated by blanks: "<model>:<port>@" for a printer
 * whose USB port number is known, "<model>:-" for one whose port is not. A
 * list longer than the buffer ends with the last printer that fits whole. */

#include "simulated_printers.h"

#include <string.h>

#define LIST_SIZE 1024

static HMODULE g_self;

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        g_self = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

typedef struct {
    char *buffer;
    size_t used;
    int listed;
} ListContext;

static SimVisit ListVisit(const SimPrinter *printer, void *context)
{
    ListContext *list = (ListContext *)context;
    size_t model = strlen(printer->model);
    size_t separator = list->listed > 0 ? 1 : 0;
    /* model, ':', digit and '@' (or '-'), and the zero that ends the text */
    size_t entry = separator + model + (printer->port != '0' ? 3 : 2);
    if (list->used + entry + 1 > LIST_SIZE)
        return SIM_STOP;
    char *out = list->buffer + list->used;
    if (separator)
        *out++ = ' ';
    memcpy(out, printer->model, model);
    out += model;
    *out++ = ':';
    if (printer->port != '0') {
        *out++ = printer->port;
        *out++ = '@';
    } else {
        *out++ = '-';
    }
    *out = '\0';
    list->used += entry;
    ++list->listed;
    return SIM_CONTINUE;
}

/* Fills buffer (1024 bytes) with the printer list; the number of printers
 * listed, or -1 when the simulated printers cannot be read. */
int WINAPI EnumUSBPrinter(char *buffer)
{
    if (buffer == NULL)
        return -1;
    buffer[0] = '\0';
    ListContext list = {buffer, 0, 0};
    if (!SimForEachPrinter(g_self, ListVisit, &list)) {
        buffer[0] = '\0';
        return -1;
    }
    return list.listed;
}
