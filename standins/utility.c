/* Stand-in of the maker's utility program (Utility\TVUtility.exe), which the
 * setup starts when it has finished: it records its parameters in
 * TVUtility.log beside it and ends. */

#include "command_record.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    (void)instance;
    (void)previous;
    (void)commandLine;
    (void)show;
    return RecordLine(CommandParameters()) ? 0 : 1;
}
