#include "install/MonitorChecks.h"

#include "config/LangText.h"
#include "install/DriverFileCopy.h"
#include "install/RegistryKey.h"
#include "install/SpoolerRegistration.h"
#include "platform/PlatformApi.h"
#include "platform/Wow64.h"

#include <cstring>

namespace {

const char kMonitorsKey[] = "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\";
const char kEnvironmentsKey[] = "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\";
// The spooler needs a moment before the new processor is used.
const DWORD kProcessorSettleMs = 200;

bool HasText(const char* text)
{
    return text != nullptr && text[0] != '\0';
}

enum class Installed { No, Current, Outdated };

Installed InstalledVersion(const std::string& key, DWORD configured)
{
    CRegistryKey component;
    if (!component.Open(HKEY_LOCAL_MACHINE, key.c_str()))
        return Installed::No;
    DWORD version = 0;
    if (!component.QueryDword("DriverVersion", &version))
        return Installed::Outdated;
    return configured > version ? Installed::Outdated : Installed::Current;
}

void WriteVersion(const std::string& key, DWORD version)
{
    CRegistryKey component;
    if (component.Open(HKEY_LOCAL_MACHINE, key.c_str()))
        component.SetDword("DriverVersion", version);
}

// Installs a monitor the system lacks. A DLL the system holds in use is copied
// under "n" and its name, and the monitor is registered with that file;
// renamed keeps that name for as long as the record is used.
int InstallMissingMonitor(MONITOR_INFO_2A& monitor, char* uiDll, int version, int os, std::string& renamed,
                          std::string& result)
{
    if (HasText(monitor.pDLLName)) {
        const int copied = CopyDriverFile(monitor.pDLLName, DIR_SYSTEM, os, false, result);
        if (copied == COPY_IN_USE || copied == COPY_DENIED) {
            CopyDriverFile(monitor.pDLLName, DIR_SYSTEM, os, true, result);
            renamed = std::string("n") + monitor.pDLLName;
            monitor.pDLLName = &renamed[0];
        }
    }
    if (HasText(uiDll))
        CopyDriverFile(uiDll, DIR_SYSTEM, os, false, result);
    if (!InstallMonitor(monitor, result))
        return CHECK_MONITOR_FAILED;
    WriteVersion(MonitorKeyPath(monitor.pName), static_cast<DWORD>(version));
    return 0;
}

} // namespace

std::string MonitorKeyPath(const char* monitor)
{
    return std::string(kMonitorsKey) + (monitor != nullptr ? monitor : "");
}

std::string ProcessorKeyPath(int targetOs, const char* processor)
{
    const char* environment = targetOs == 0 ? "Windows 4.0" : g_bWow64 ? "Windows x64" : "Windows NT x86";
    return std::string(kEnvironmentsKey) + environment + "\\Print Processors\\"
        + (processor != nullptr ? processor : "");
}

int CheckPortMonitors(InstallContext& context, int targetOs, const char* port, std::string& result)
{
    if (std::strstr(port, "LPT") != nullptr || std::strstr(port, "NET") != nullptr)
        return 0;
    context.m_config.m_nCategory = context.m_nCategory;
    PortMonitorRecord monitors = {};
    context.m_config.GetPortMonitorInfo(targetOs, monitors);

    int outdated = 0;
    // Renamed DLL names, alive as long as the records that point to them.
    std::string comRenamed;
    std::string usbRenamed;
    // Serial ports of 64-bit Windows and of Windows 98/Me need no monitor of
    // the maker.
    if (std::strstr(port, "COM") != nullptr && !g_bWow64 && HasText(monitors.comMonitor.pDLLName)
        && targetOs != 0) {
        const Installed state = InstalledVersion(MonitorKeyPath(monitors.comMonitor.pName),
                                                 static_cast<DWORD>(monitors.comVersion));
        if (state == Installed::Outdated)
            outdated = UPD_COM_MONITOR;
        else if (state == Installed::No
                 && InstallMissingMonitor(monitors.comMonitor, monitors.comUiDll, monitors.comVersion, targetOs,
                                          comRenamed, result)
                     == CHECK_MONITOR_FAILED)
            return CHECK_MONITOR_FAILED;
    }
    // NT 4.0 knows no USB.
    if (std::strstr(port, "USB_") != nullptr && HasText(monitors.usbMonitor.pDLLName) && targetOs != 1) {
        const Installed state = InstalledVersion(MonitorKeyPath(monitors.usbMonitor.pName),
                                                 static_cast<DWORD>(monitors.usbVersion));
        if (state == Installed::Outdated)
            outdated = UPD_USB_MONITOR;
        else if (state == Installed::No
                 && InstallMissingMonitor(monitors.usbMonitor, monitors.usbUiDll, monitors.usbVersion, targetOs,
                                          usbRenamed, result)
                     == CHECK_MONITOR_FAILED)
            return CHECK_MONITOR_FAILED;
    }
    return outdated;
}

int CheckPrintProcessor(int targetOs, const char* processor, char* dllName, std::string& result)
{
    // The configured version is setup.ini's, whatever the model.
    CDriverConfig config;
    const DWORD version = static_cast<DWORD>(config.GetProcessorVersion());
    if (processor != nullptr && std::strcmp(processor, "WinPrint") == 0)
        return 0;

    const std::string key = ProcessorKeyPath(targetOs, processor);
    const Installed state = InstalledVersion(key, version);
    if (state == Installed::Outdated)
        return UPD_PROCESSOR;
    if (state == Installed::Current)
        return 0;

    if (HasText(dllName))
        CopyDriverFile(dllName, DIR_PROCESSOR, targetOs, false, result);
    if (InstallPrintProcessor(processor != nullptr ? processor : "", dllName != nullptr ? dllName : "",
                              targetOs, result)
        != 1) {
        result = g_langMsg.GetText("IDS_ERR_ADDPROCESSOR");
        return CHECK_PROCESSOR_FAILED;
    }
    WriteVersion(key, version);
    g_platformApi.sleep(kProcessorSettleMs);
    return 0;
}

int CheckLanguageMonitor(InstallContext& context, int targetOs, const char* port, std::string& result)
{
    if (std::strstr(port, "USB_") == nullptr)
        return 0;
    context.m_config.m_nCategory = context.m_nCategory;
    LangMonitorRecord monitor = {};
    context.m_config.GetLangMonitorInfo(context.m_szModel, targetOs, monitor, kPortUsb);
    if (!HasText(monitor.monitor.pDLLName) || targetOs == 1)
        return 0;

    const Installed state =
        InstalledVersion(MonitorKeyPath(monitor.monitor.pName), static_cast<DWORD>(monitor.version));
    if (state == Installed::Outdated)
        return UPD_LANG_MONITOR;
    std::string renamed;
    if (state == Installed::No
        && InstallMissingMonitor(monitor.monitor, nullptr, monitor.version, targetOs, renamed, result)
            == CHECK_MONITOR_FAILED)
        return CHECK_MONITOR_FAILED;
    return 0;
}
