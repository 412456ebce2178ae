/* Stand-in of the maker's USB driver installer (Install.exe in USBDRV\USBDriver
 * and USBDRV\USBDriver_x64). It takes the two command lines of the setup:
 *   "2"                          install the USB driver beside it: copies its
 *                                TVPUSB.sys into the system's drivers folder;
 *   " 3 "<INF path>" <id> 0"     hand a USB printing-class printer with that
 *                                hardware id to the printer driver's INF
 *                                (the stand-in only records it).
 * Every start appends its parameters to Install.log beside it, after the
 * work is done; the exit code is 0 when the work succeeded. */

#include "command_record.h"

#include <string.h>

static BOOL InstallDriver(void)
{
    char source[MAX_PATH];
    char target[MAX_PATH];
    if (!PathBesideProgram("TVPUSB.sys", source, sizeof(source)))
        return FALSE;
    UINT len = GetSystemDirectoryA(target, sizeof(target));
    const char tail[] = "\\drivers\\TVPUSB.sys";
    if (len == 0 || len + sizeof(tail) > sizeof(target))
        return FALSE;
    memcpy(target + len, "\\drivers", sizeof("\\drivers"));
    CreateDirectoryA(target, NULL);
    memcpy(target + len, tail, sizeof(tail));
    return CopyFileA(source, target, FALSE);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    (void)instance;
    (void)previous;
    (void)commandLine;
    (void)show;
    const char *parameters = CommandParameters();
    const char *first = parameters;
    while (*first == ' ')
        ++first;
    BOOL ok = TRUE;
    if (first[0] == '2' && (first[1] == '\0' || first[1] == ' '))
        ok = InstallDriver();
    else if (!(first[0] == '3' && first[1] == ' '))
        ok = FALSE;
    RecordLine(parameters);
    return ok ? 0 : 1;
}
