#include "ports/ProgramFolderLibrary.h"

#include "config/SetupIni.h"
#include "platform/ProgramFolder.h"

ModuleHandle LoadProgramFolderLibrary(const char* name)
{
    char path[kModulePathSize];
    if (!BuildProgramFilePath(name, path))
        return ModuleHandle();
    return ModuleHandle(g_platformApi.loadLibrary(path));
}
