/* Stand-in of the maker's print processor. It takes RAW jobs only and passes
 * them to the printer unchanged, the way the system's own processor does for
 * RAW: the job is read back from the spooler and written to the printer as
 * one document. */

#define UNICODE
#define _UNICODE
#include <windows.h>
#include <winspool.h>
#include <winsplp.h>

static const WCHAR kRaw[] = L"RAW";

typedef struct {
    HANDLE printer;
    DWORD job;
    WCHAR *outputFile;
    HANDLE resume; /* set while the job is not paused */
    volatile LONG cancelled;
} Processor;

static WCHAR *CopyText(const WCHAR *text)
{
    if (text == NULL)
        return NULL;
    SIZE_T size = (lstrlenW(text) + 1) * sizeof(WCHAR);
    WCHAR *copy = (WCHAR *)HeapAlloc(GetProcessHeap(), 0, size);
    if (copy != NULL)
        CopyMemory(copy, text, size);
    return copy;
}

static void FreeProcessor(Processor *processor)
{
    if (processor->printer != NULL)
        ClosePrinter(processor->printer);
    if (processor->resume != NULL)
        CloseHandle(processor->resume);
    HeapFree(GetProcessHeap(), 0, processor->outputFile);
    HeapFree(GetProcessHeap(), 0, processor);
}

BOOL WINAPI EnumPrintProcessorDatatypesW(LPWSTR server, LPWSTR name, DWORD level, LPBYTE buffer,
                                         DWORD size, LPDWORD needed, LPDWORD returned)
{
    (void)server;
    (void)name;
    if (needed == NULL || returned == NULL) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *returned = 0;
    *needed = sizeof(DATATYPES_INFO_1W) + sizeof(kRaw);
    if (level != 1) {
        SetLastError(ERROR_INVALID_LEVEL);
        return FALSE;
    }
    if (buffer == NULL || size < *needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    DATATYPES_INFO_1W *info = (DATATYPES_INFO_1W *)buffer;
    WCHAR *text = (WCHAR *)(buffer + sizeof(DATATYPES_INFO_1W));
    CopyMemory(text, kRaw, sizeof(kRaw));
    info->pName = text;
    *returned = 1;
    return TRUE;
}

HANDLE WINAPI OpenPrintProcessor(LPWSTR printerName, PPRINTPROCESSOROPENDATA data)
{
    if (printerName == NULL || data == NULL) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return NULL;
    }
    if (data->pDatatype == NULL || lstrcmpiW(data->pDatatype, kRaw) != 0) {
        SetLastError(ERROR_INVALID_DATATYPE);
        return NULL;
    }
    Processor *processor = (Processor *)HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(*processor));
    if (processor == NULL) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return NULL;
    }
    processor->job = data->JobId;
    processor->resume = CreateEventW(NULL, TRUE, TRUE, NULL);
    processor->outputFile = CopyText(data->pOutputFile);
    if (processor->resume == NULL || (data->pOutputFile != NULL && processor->outputFile == NULL)
        || !OpenPrinterW(printerName, &processor->printer, NULL)) {
        DWORD error = GetLastError();
        FreeProcessor(processor);
        SetLastError(error != ERROR_SUCCESS ? error : ERROR_NOT_ENOUGH_MEMORY);
        return NULL;
    }
    return (HANDLE)processor;
}

/* documentName names the job ("printer, Job n"): open it, read it and write
 * it to the printer. */
BOOL WINAPI PrintDocumentOnPrintProcessor(HANDLE handle, LPWSTR documentName)
{
    Processor *processor = (Processor *)handle;
    if (processor == NULL || documentName == NULL) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    HANDLE job = NULL;
    if (!OpenPrinterW(documentName, &job, NULL))
        return FALSE;

    DOC_INFO_1W doc = {documentName, processor->outputFile, (LPWSTR)kRaw};
    BOOL ok = StartDocPrinterW(processor->printer, 1, (LPBYTE)&doc) != 0;
    BYTE buffer[4096];
    DWORD read = 0;
    while (ok && !processor->cancelled && ReadPrinter(job, buffer, sizeof(buffer), &read) && read > 0) {
        WaitForSingleObject(processor->resume, INFINITE);
        DWORD written = 0;
        ok = WritePrinter(processor->printer, buffer, read, &written) && written == read;
    }
    DWORD error = ok ? ERROR_SUCCESS : GetLastError();
    EndDocPrinter(processor->printer);
    ClosePrinter(job);
    if (processor->cancelled) {
        SetLastError(ERROR_PRINT_CANCELLED);
        return FALSE;
    }
    SetLastError(error);
    return ok;
}

BOOL WINAPI ControlPrintProcessor(HANDLE handle, DWORD command)
{
    Processor *processor = (Processor *)handle;
    if (processor == NULL) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    switch (command) {
    case JOB_CONTROL_PAUSE:
        return ResetEvent(processor->resume);
    case JOB_CONTROL_RESUME:
        return SetEvent(processor->resume);
    case JOB_CONTROL_CANCEL:
        InterlockedExchange(&processor->cancelled, 1);
        return SetEvent(processor->resume);
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
}

BOOL WINAPI ClosePrintProcessor(HANDLE handle)
{
    Processor *processor = (Processor *)handle;
    if (processor == NULL) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    FreeProcessor(processor);
    return TRUE;
}

/* One page per sheet, pages in order, any number of copies by the spooler. */
DWORD WINAPI GetPrintProcessorCapabilities(LPTSTR datatype, DWORD attributes, LPBYTE data, DWORD size,
                                           LPDWORD needed)
{
    (void)attributes;
    if (datatype == NULL || needed == NULL)
        return ERROR_INVALID_PARAMETER;
    if (lstrcmpiW(datatype, kRaw) != 0)
        return ERROR_INVALID_DATATYPE;
    *needed = sizeof(PRINTPROCESSOR_CAPS_1);
    if (data == NULL || size < sizeof(PRINTPROCESSOR_CAPS_1))
        return ERROR_MORE_DATA;
    PRINTPROCESSOR_CAPS_1 *caps = (PRINTPROCESSOR_CAPS_1 *)data;
    caps->dwLevel = 1;
    caps->dwNupOptions = 1;
    caps->dwPageOrderFlags = NORMAL_PRINT;
    caps->dwNumberOfCopies = 1;
    return ERROR_SUCCESS;
}
