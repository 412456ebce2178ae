/* What the stand-in programs of the package (the USB driver installer and the
 * utility) keep of each start: their parameters, one line each, appended to
 * a record beside the executable named after it (Install.exe: Install.log). */

#ifndef COMMAND_RECORD_H
#define COMMAND_RECORD_H

#include <windows.h>

/* The command line after the program's own name and the one blank that
 * follows it, exactly as the starter passed it. */
const char *CommandParameters(void);

/* Path of a file beside the executable into path (size bytes). */
BOOL PathBesideProgram(const char *name, char *path, DWORD size);

/* Appends text and a line break to the record. */
BOOL RecordLine(const char *text);

#endif
