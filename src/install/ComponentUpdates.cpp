#include "install/ComponentUpdates.h"

#include "config/LangText.h"
#include "install/DeployFolders.h"
#include "install/DriverFileCopy.h"
#include "install/MonitorChecks.h"
#include "install/RegistryKey.h"

namespace {

bool HasText(const char* text)
{
    return text != nullptr && text[0] != '\0';
}

bool IsLocked(int copied)
{
    return copied == COPY_IN_USE || copied == COPY_DENIED;
}

// The monitor's key is opened, never created: a monitor without one is not
// the spooler's, and the copy alone counts as the update.
void WriteMonitorValues(const char* monitor, const std::string* driver, int version)
{
    CRegistryKey key;
    if (!key.Open(HKEY_LOCAL_MACHINE, MonitorKeyPath(monitor).c_str()))
        return;
    if (driver != nullptr)
        key.SetString("Driver", driver->c_str());
    key.SetDword("DriverVersion", static_cast<DWORD>(version));
}

// NT family. The COM monitor keeps its "Driver" value after a plain copy;
// the USB monitor's is set to the DLL again.
bool ReplacePortMonitor(MONITOR_INFO_2A& monitor, char* uiDll, int version, bool setDriverAfterCopy, int os,
                        std::string& result)
{
    char* dll = monitor.pDLLName;
    const int copied = CopyDriverFile(dll, DIR_SYSTEM, os, false, result);
    if (IsLocked(copied)) {
        CopyDriverFile(dll, DIR_SYSTEM, os, true, result);
        const std::string renamed = std::string("n") + dll;
        WriteMonitorValues(monitor.pName, &renamed, version);
    } else {
        if (!result.empty())
            return false;
        const std::string driver = dll;
        WriteMonitorValues(monitor.pName, setDriverAfterCopy ? &driver : nullptr, version);
    }
    if (HasText(uiDll))
        CopyDriverFile(uiDll, DIR_SYSTEM, os, false, result);
    return true;
}

bool ReplaceProcessorNt(InstallContext& context, const char* processorDirectory, std::string& result)
{
    const char* dll = context.m_driverFiles.ProcessorDLLName;
    const std::string source = PackageFilePath(dll);
    const std::string destination = std::string(processorDirectory) + "\\" + dll;
    if (!::CopyFileA(source.c_str(), destination.c_str(), FALSE)) {
        result = g_langMsg.GetText("IDS_ERR_COPYFIEL") + source;
        return false;
    }
    CRegistryKey key;
    if (key.Open(HKEY_LOCAL_MACHINE,
                 ProcessorKeyPath(context.m_nTargetOs, context.m_printerInfo.pPrintProcessor).c_str()))
        key.SetDword("DriverVersion", static_cast<DWORD>(context.m_config.GetProcessorVersion()));
    return true;
}

// Windows 98/Me: the key is made when missing, and a DLL locked under both
// names needs a restart.
bool ReplaceComponent9x(const std::string& keyPath, char* dll, int kind, int version, std::string& result)
{
    CRegistryKey key;
    if (!key.Open(HKEY_LOCAL_MACHINE, keyPath.c_str())) {
        CreateRegistryKey(HKEY_LOCAL_MACHINE, keyPath.c_str());
        key.Open(HKEY_LOCAL_MACHINE, keyPath.c_str());
    }
    const int copied = CopyDriverFile(dll, kind, 0, false, result);
    if (IsLocked(copied)) {
        if (IsLocked(CopyDriverFile(dll, kind, 0, true, result))) {
            result = g_langMsg.GetText("IDS_ERR_NEEDRESTART");
            return false;
        }
        key.SetString("Driver", (std::string("n") + dll).c_str());
    } else {
        // A copy failure's text ends the installation at its next tested step.
        key.SetString("Driver", dll);
    }
    key.SetDword("DriverVersion", static_cast<DWORD>(version));
    return true;
}

bool ApplyPendingUpdatesNt(InstallContext& context, int bits, const char* processorDirectory,
                           std::string& result)
{
    const int os = context.m_nTargetOs;
    context.m_config.m_nCategory = context.m_nCategory;
    PortMonitorRecord monitors = {};
    context.m_config.GetPortMonitorInfo(os, monitors);
    if (bits & UPD_COM_MONITOR)
        return ReplacePortMonitor(monitors.comMonitor, monitors.comUiDll, monitors.comVersion, false, os, result);
    if (bits & UPD_USB_MONITOR)
        return ReplacePortMonitor(monitors.usbMonitor, monitors.usbUiDll, monitors.usbVersion, true, os, result);
    if (bits & UPD_PROCESSOR)
        return ReplaceProcessorNt(context, processorDirectory, result);
    return true;
}

bool ApplyPendingUpdates9x(InstallContext& context, int bits, std::string& result)
{
    context.m_config.m_nCategory = context.m_nCategory;
    if (bits & UPD_USB_MONITOR) {
        PortMonitorRecord monitors = {};
        context.m_config.GetPortMonitorInfo(0, monitors);
        return ReplaceComponent9x(MonitorKeyPath(monitors.usbMonitor.pName), monitors.usbMonitor.pDLLName,
                                  DIR_SYSTEM, monitors.usbVersion, result);
    }
    if (bits & UPD_PROCESSOR)
        return ReplaceComponent9x(ProcessorKeyPath(0, context.m_printerInfo.pPrintProcessor),
                                  context.m_driverFiles.ProcessorDLLName, DIR_PROCESSOR,
                                  context.m_config.GetProcessorVersion(), result);
    return true;
}

} // namespace

bool ApplyPendingUpdates(InstallContext& context, int bits, const char* processorDirectory, std::string& result)
{
    if (context.m_nTargetOs == 0)
        return ApplyPendingUpdates9x(context, bits, result);
    return ApplyPendingUpdatesNt(context, bits, processorDirectory != nullptr ? processorDirectory : "", result);
}

bool ApplyLanguageMonitorUpdate(InstallContext& context, std::string& result)
{
    const int os = context.m_nTargetOs;
    context.m_config.m_nCategory = context.m_nCategory;
    LangMonitorRecord monitor = {};
    context.m_config.GetLangMonitorInfo(context.m_szModel, os, monitor, kPortUsb);
    char* dll = monitor.monitor.pDLLName;

    const int copied = CopyDriverFile(dll, DIR_SYSTEM, os, false, result);
    std::string driver = dll;
    if (IsLocked(copied)) {
        CopyDriverFile(dll, DIR_SYSTEM, os, true, result);
        driver = std::string("n") + dll;
    } else if (!result.empty()) {
        return false;
    }
    WriteMonitorValues(monitor.monitor.pName, &driver, monitor.version);
    return true;
}
