/* Stand-in of a printer driver's configuration DLL (the maker's and the
 * Unidrv one). The spooler and applications ask it for the printer's default
 * settings (a DEVMODE) and its capabilities; it shows no property pages.
 * Portrait A4 paper, one copy, 203 dpi as a point-of-sale printer has. */

#define UNICODE
#define _UNICODE
#include <windows.h>
#include <winspool.h>
#include <compstui.h>
#include <stddef.h>

/* The spooler's request header of DrvDocumentPropertySheets without pages. */
typedef struct {
    WORD cbSize;
    WORD Reserved;
    HANDLE hPrinter;
    LPWSTR pszPrinterName;
    PDEVMODEW pdmIn;
    PDEVMODEW pdmOut;
    DWORD cbOut;
    DWORD fMode;
} DocumentPropertyHeader;

static const short kDpi = 203;

static void DefaultDevMode(const WCHAR *printerName, DEVMODEW *devMode)
{
    ZeroMemory(devMode, sizeof(*devMode));
    if (printerName != NULL)
        lstrcpynW(devMode->dmDeviceName, printerName, CCHDEVICENAME);
    devMode->dmSpecVersion = DM_SPECVERSION;
    devMode->dmDriverVersion = 0x0100;
    devMode->dmSize = sizeof(DEVMODEW);
    devMode->dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES | DM_PRINTQUALITY | DM_YRESOLUTION;
    devMode->dmOrientation = DMORIENT_PORTRAIT;
    devMode->dmPaperSize = DMPAPER_A4;
    devMode->dmCopies = 1;
    devMode->dmPrintQuality = kDpi;
    devMode->dmYResolution = kDpi;
}

/* Takes from input the settings this driver knows. */
static void MergeDevMode(const DEVMODEW *input, DEVMODEW *devMode)
{
    if (input == NULL || input->dmSize < offsetof(DEVMODEW, dmDefaultSource))
        return;
    if ((input->dmFields & DM_ORIENTATION)
        && (input->dmOrientation == DMORIENT_PORTRAIT || input->dmOrientation == DMORIENT_LANDSCAPE))
        devMode->dmOrientation = input->dmOrientation;
    if ((input->dmFields & DM_PAPERSIZE) && input->dmPaperSize > 0)
        devMode->dmPaperSize = input->dmPaperSize;
    if ((input->dmFields & DM_COPIES) && input->dmCopies > 0)
        devMode->dmCopies = input->dmCopies;
}

LONG WINAPI DrvDocumentPropertySheets(PPROPSHEETUI_INFO sheets, LPARAM param)
{
    if (sheets != NULL) {
        /* No pages to add. */
        SetLastError(ERROR_NOT_SUPPORTED);
        return ERR_CPSUI_GETLASTERROR;
    }
    DocumentPropertyHeader *header = (DocumentPropertyHeader *)param;
    if (header == NULL) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERR_CPSUI_GETLASTERROR;
    }
    if (header->fMode == 0 || header->pdmOut == NULL) {
        header->cbOut = sizeof(DEVMODEW);
        return (LONG)header->cbOut;
    }
    if (header->cbOut < sizeof(DEVMODEW)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return ERR_CPSUI_GETLASTERROR;
    }
    DEVMODEW devMode;
    DefaultDevMode(header->pszPrinterName, &devMode);
    if (header->fMode & DM_IN_BUFFER)
        MergeDevMode(header->pdmIn, &devMode);
    CopyMemory(header->pdmOut, &devMode, sizeof(devMode));
    header->cbOut = sizeof(DEVMODEW);
    return IDOK;
}

LONG WINAPI DrvDevicePropertySheets(PPROPSHEETUI_INFO sheets, LPARAM param)
{
    (void)sheets;
    (void)param;
    SetLastError(ERROR_NOT_SUPPORTED);
    return ERR_CPSUI_GETLASTERROR;
}

DWORD WINAPI DrvDeviceCapabilities(HANDLE printer, PWSTR deviceName, WORD capability, VOID *output,
                                   DEVMODEW *devMode)
{
    (void)printer;
    (void)deviceName;
    (void)devMode;
    switch (capability) {
    case DC_FIELDS:
        return DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES | DM_PRINTQUALITY | DM_YRESOLUTION;
    case DC_SIZE:
        return sizeof(DEVMODEW);
    case DC_EXTRA:
        return 0;
    case DC_VERSION:
        return DM_SPECVERSION;
    case DC_DRIVER:
        return 0x0100;
    case DC_COPIES:
        return 999;
    case DC_ORIENTATION:
        return 90;
    case DC_PAPERS:
        if (output != NULL)
            *(WORD *)output = DMPAPER_A4;
        return 1;
    case DC_ENUMRESOLUTIONS:
        if (output != NULL) {
            ((LONG *)output)[0] = kDpi;
            ((LONG *)output)[1] = kDpi;
        }
        return 1;
    default:
        return (DWORD)GDI_ERROR;
    }
}
