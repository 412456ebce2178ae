/* Stand-in of the maker's USB access DLL (TvUsbInt.dll): opens the simulated
 * printers of UsbPrinters.txt by device slot 0 to 7, hands out their device
 * descriptor (the printer's id is its device release number) and takes data
 * for them. The set-id command changes the printer's id in the list, so that
 * a later read returns it, as a printer keeps its id. Every write a printer
 * accepts is appended to TvUsbInt.log beside the DLL, one line each:
 * "write <slot>: <bytes in hexadecimal>". */

#include "simulated_printers.h"

#include <stdio.h>
#include <string.h>

#define SLOT_COUNT 8
/* Handles are the slot plus this base: never 0 or -1. */
#define HANDLE_BASE 0x5100

static HMODULE g_self;

static const unsigned char kSetIdCommand[9] = {0x1B, 0x73, 0x51, 0x5A, 0x92, 0x99, 0x1D, 0x49, 0x20};

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        g_self = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

static BOOL SlotOf(HANDLE device, unsigned *slot)
{
    INT_PTR value = (INT_PTR)device - HANDLE_BASE;
    if (value < 0 || value >= SLOT_COUNT)
        return FALSE;
    *slot = (unsigned)value;
    return TRUE;
}

/* A handle of the printer at the slot; 0 for an empty slot, -1 when the
 * printer list cannot be read. */
HANDLE WINAPI OpenDeviceX(int slot)
{
    SimPrinter printer;
    if (slot < 0 || slot >= SLOT_COUNT)
        return NULL;
    if (!SimFindPrinter(g_self, (unsigned)slot, &printer)) {
        if (!SimForEachPrinter(g_self, NULL, NULL))
            return INVALID_HANDLE_VALUE;
        return NULL;
    }
    return (HANDLE)(INT_PTR)(HANDLE_BASE + slot);
}

/* Nothing stays open: closing any value, also 0 or -1, is harmless. */
BOOL WINAPI CloseDevice(HANDLE device)
{
    unsigned slot;
    return SlotOf(device, &slot);
}

/* Fills the standard 18-byte device descriptor; 0 on failure. */
int WINAPI GetDescriptor(HANDLE device, unsigned char *buffer)
{
    unsigned slot;
    SimPrinter printer;
    if (buffer == NULL || !SlotOf(device, &slot) || !SimFindPrinter(g_self, slot, &printer)
        || printer.noDescriptor)
        return 0;
    const unsigned char descriptor[18] = {
        18, 1,              /* length, device descriptor */
        0x10, 0x01,         /* USB 1.1 */
        0, 0, 0, 64,        /* class in the interfaces, packet size 64 */
        0x3D, 0x7A,         /* vendor 7A3D */
        0x01, 0x10,         /* product 1001 */
        (unsigned char)(printer.release & 0xFF), (unsigned char)(printer.release >> 8),
        1, 2, 3,            /* manufacturer, product and serial strings */
        1,                  /* one configuration */
    };
    memcpy(buffer, descriptor, sizeof(descriptor));
    return (int)sizeof(descriptor);
}

static void LogWrite(unsigned slot, const unsigned char *data, int length)
{
    char path[MAX_PATH];
    if (!SimPathBeside(g_self, "TvUsbInt.log", path, sizeof(path)))
        return;
    FILE *log = fopen(path, "ab");
    if (log == NULL)
        return;
    fprintf(log, "write %u:", slot);
    for (int i = 0; i < length; ++i)
        fprintf(log, " %02X", data[i]);
    fputs("\r\n", log);
    fclose(log);
}

/* Sends data to the printer; the number of bytes taken, or 0 when the
 * printer refuses them. */
int WINAPI uWrite(HANDLE device, int pipe, unsigned char *data, int length)
{
    unsigned slot;
    SimPrinter printer;
    (void)pipe;
    if (data == NULL || length <= 0 || !SlotOf(device, &slot) || !SimFindPrinter(g_self, slot, &printer)
        || printer.noWrite)
        return 0;
    if (length == 10 && memcmp(data, kSetIdCommand, sizeof(kSetIdCommand)) == 0
        && !SimSetRelease(g_self, slot, data[9]))
        return 0;
    LogWrite(slot, data, length);
    return length;
}
