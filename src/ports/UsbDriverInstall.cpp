#include "ports/UsbDriverInstall.h"

#include "afx/AfxWin.h"
#include "config/LangText.h"
#include "config/ProfileReader.h"
#include "config/SetupIni.h"
#include "platform/PlatformApi.h"
#include "platform/ProgramFolder.h"
#include "platform/TargetOs.h"
#include "platform/Wow64.h"
#include "ports/PortsApi.h"
#include "ports/UsbDriverFiles.h"
#include "ports/UsbDriverVersion.h"
#include "ports/UsbPrinterNumber.h"

#include <windows.h>

#include <cstring>
#include <string>

namespace {

// Time the installer gets before the setup goes on, in three steps.
const DWORD kInstallerWaits[] = {500, 1000, 2000};

// The printer driver's INF of the package for the running Windows: the
// configured base name with "32.inf" or "64.inf", or Setup.inf when none is
// configured.
std::string PrinterDriverInf(const char* setupIni)
{
    char name[kConfigTextSize] = {};
    ReadProfileText(setupIni, kCatalogueSection, "Inffilename", "err", name);
    std::string file;
    if (name[0] == '\0' || std::strncmp(name, "err", 3) == 0)
        file = "Setup.inf";
    else
        file = std::string(name) + (g_bWow64 ? "64.inf" : "32.inf");
    return GetProgramFolder() + (g_bWow64 ? "W64\\" : "W32\\") + file;
}

} // namespace

void UpdateUsbDriver()
{
    const int os = DetectTargetOs();
    if (os == kOsWin9x || os == kOsNt4)
        return;
    if (CompareUsbDriverVersion() == kUsbDriverUpToDate)
        return;
    const std::string installer = PackagedUsbDriverFile("Install.exe");
    if (installer.empty())
        return;
    // A driver copied from a CD is read-only; the installer must be able to
    // replace and remove it.
    ::SetFileAttributesA(PackagedUsbDriverFile("TVPUSB.sys").c_str(), FILE_ATTRIBUTE_ARCHIVE);
    ::SetFileAttributesA(PackagedUsbDriverFile("TVPUSB.INF").c_str(), FILE_ATTRIBUTE_ARCHIVE);
    g_portsApi.shellExecute(nullptr, "open", installer.c_str(), "2", nullptr, SW_SHOWNORMAL);
    for (DWORD wait : kInstallerWaits)
        g_platformApi.sleep(wait);
}

int InstallUsbClassDriver(const char* model)
{
    const int number = GetUsbPrinterNumber(model);
    if (number == 0) {
        AfxMessageBox(g_langMsg.GetText("IDS_ERR_CLASSPRINTERIDERROR").c_str(), MB_OK);
        return 0;
    }

    char setupIni[kModulePathSize];
    BuildProgramFilePath(kSetupIniName, setupIni);
    const std::string inf = PrinterDriverInf(setupIni);
    const std::string key = std::string(model) + "(U)" + std::to_string(number);
    char hardwareId[kConfigTextSize] = {};
    ReadProfileText(setupIni, "USBCLASSPRINTER", key.c_str(), "ERR", hardwareId);
    // An empty id names no device either.
    if (hardwareId[0] == '\0' || std::strncmp(hardwareId, "ERR", 3) == 0) {
        AfxMessageBox(g_langMsg.GetText("IDS_ERR_HARDWAREIDNULL").c_str(), MB_OK);
        return 0;
    }

    const std::string parameters = " 3 \"" + inf + "\" " + hardwareId + " 0";
    g_portsApi.shellExecute(nullptr, "open", PackagedUsbDriverFile("Install.exe").c_str(), parameters.c_str(),
                            nullptr, SW_SHOWNORMAL);
    return kUsbClassInstallStarted;
}
