#include "install/SystemFiles.h"

#include "config/LangText.h"
#include "install/DeployFolders.h"
#include "install/DriverFileCopy.h"
#include "platform/Handles.h"

#include <windows.h>

namespace {

// CopyDriverFile upper-cases the name it is given, so each gets its own copy.
int CopyNamed(const char* name, int kind, int os, std::string& result)
{
    std::string copy = name;
    return CopyDriverFile(&copy[0], kind, os, false, result);
}

bool FileOpens(const std::string& path)
{
    FileHandle file(::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  0, nullptr));
    return file.Valid();
}

void RestoreWin9xUnidrv(std::string& result)
{
    CopyNamed("ICONLIB.DLL", DIR_DRIVER, 0, result);

    std::string system;
    std::string windows;
    if (!GetSystemFolder(system) || !GetWindowsFolder(windows)) {
        result = g_langMsg.GetText("IDS_ERR_ALLOCMEMORY");
        return;
    }
    const std::string target = system + "\\UNIDRV.DLL";
    if (FileOpens(target))
        return;
    const std::string backup = windows + "\\Sysbckup\\UNIDRV.DLL";
    if (!::CopyFileA(backup.c_str(), target.c_str(), TRUE))
        CopyNamed("UNIDRV.DLL", DIR_DRIVER, 0, result);
}

} // namespace

void RestoreSystemFiles(int targetOs, bool ddk, std::string& result)
{
    if (targetOs == 0) {
        RestoreWin9xUnidrv(result);
        return;
    }
    if (targetOs >= 2 && targetOs <= 7 && ddk) {
        for (const char* name : {"TTFSUB.GPD", "STDNAMES.GPD", "UNIRES.DLL"})
            CopyNamed(name, DIR_DRIVER, targetOs, result);
    }
}
