#include "ports/UsbDriverFiles.h"

#include "config/SetupIni.h"
#include "platform/ProgramFolder.h"
#include "platform/Wow64.h"

#include <windows.h>

std::string PackagedUsbDriverFile(const char* name)
{
    const std::string relative = std::string(g_bWow64 ? "USBDRV\\USBDriver_x64\\" : "USBDRV\\USBDriver\\") + name;
    char path[kModulePathSize];
    if (!BuildProgramFilePath(relative.c_str(), path))
        return std::string();
    return path;
}

std::string InstalledUsbDriverPath()
{
    char windows[kConfigTextSize] = {};
    UINT len = ::GetWindowsDirectoryA(windows, sizeof(windows));
    if (len == 0 || len >= sizeof(windows))
        return std::string();
    return std::string(windows, len) + "\\system32\\drivers\\TVPUSB.sys";
}
