/* The simulated USB printers that the stand-ins of the maker's USB DLLs
 * (TvUsbInt.dll and USBPrintDll.dll) report: a text file UsbPrinters.txt
 * beside the DLL, written by tests and the demo. One printer a line:
 *
 *     index release model port [nodescriptor] [nowrite]
 *
 *   index    device slot, 0 to 65535 (TvUsbInt.dll opens slots 0 to 7 only),
 *            each at most once
 *   release  device release number of the USB device descriptor (the
 *            printer's id), 0 to 65535, decimal or 0x hexadecimal
 *   model    model name, without blanks
 *   port     USB port number digit that USBPrintDll.dll lists, 0 to 9;
 *            0: the port is unknown and the printer is listed without it
 *   nodescriptor  the printer does not answer the descriptor request
 *   nowrite       the printer refuses data
 *
 * Blank lines and lines starting with ';' or '#' are ignored. A missing or
 * empty file means no printers. A file with any other line, or a line longer
 * than SIM_LINE_SIZE - 2 characters, is unreadable as a whole: then neither
 * DLL sees a printer and the printer list fails. */

#ifndef SIMULATED_PRINTERS_H
#define SIMULATED_PRINTERS_H

#include <windows.h>

#define SIM_LINE_SIZE 1024

typedef struct {
    unsigned index;
    unsigned release;
    char model[SIM_LINE_SIZE];
    char port;
    BOOL noDescriptor;
    BOOL noWrite;
} SimPrinter;

typedef enum { SIM_STOP = 0, SIM_CONTINUE = 1 } SimVisit;

/* Calls visit for each printer in file order until it returns SIM_STOP
 * (a null visit only checks the file). Returns FALSE (and visits nothing)
 * when the file is unreadable. */
BOOL SimForEachPrinter(HMODULE self, SimVisit (*visit)(const SimPrinter *printer, void *context),
                       void *context);

/* Finds the printer at index; FALSE when the file is unreadable or has none. */
BOOL SimFindPrinter(HMODULE self, unsigned index, SimPrinter *found);

/* Rewrites the release number of the printer at index, leaving every other
 * line as it was. */
BOOL SimSetRelease(HMODULE self, unsigned index, unsigned release);

/* Path of a file beside the module into path (size bytes). */
BOOL SimPathBeside(HMODULE self, const char *name, char *path, DWORD size);

#endif
