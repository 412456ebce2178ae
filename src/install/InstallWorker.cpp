#include "install/InstallWorker.h"

#include "config/LangText.h"
#include "install/ComponentUpdates.h"
#include "install/DeployFolders.h"
#include "install/DriverFileCopy.h"
#include "install/MonitorChecks.h"
#include "install/PortRegistry.h"
#include "install/SpoolerRegistration.h"
#include "install/SpoolerService.h"
#include "install/SystemFiles.h"
#include "platform/BoundedText.h"
#include "platform/PlatformApi.h"
#include "platform/Wow64.h"
#include "wizard/ProgressDlg.h"
#include "wizard/SetupWizardDlg.h"

#include <atomic>
#include <cctype>
#include <cstring>

namespace {

const DWORD kAfterStopMs = 500;
const DWORD kAfterStartNt4And2000Ms = 1000;
const DWORD kAfterStartXpAnd2003Ms = 2500;
const DWORD kAfterSecondStartMs = 2500;

bool IsNtFamily(int os)
{
    return os >= 1 && os <= 7;
}

bool IsSkippedSlot(const char* slot)
{
    return slot[0] == '\0' || slot[0] == '0';
}

// A step is tested by the result text: any text ends the installation.
bool Tested(const std::string& result)
{
    return result.empty();
}

// Starts the Spooler service again unless the update phase got as far as its
// own start: a failed installation must not leave the system without its
// spooler. The failure's text stays; the restart's own answers are not shown.
class SpoolerRestart {
public:
    SpoolerRestart() = default;
    ~SpoolerRestart()
    {
        if (!m_armed)
            return;
        try {
            std::string ignored;
            StartSpooler(ignored);
            WaitSpoolerRunning(ignored);
        } catch (...) {
            // Nothing more can be done for the spooler here.
        }
    }
    SpoolerRestart(const SpoolerRestart&) = delete;
    SpoolerRestart& operator=(const SpoolerRestart&) = delete;

    void Dismiss() { m_armed = false; }

private:
    bool m_armed = true;
};

// NT family: one outdated component is replaced with the Spooler service
// stopped, then the service is started and awaited.
bool UpdateComponentsNt(InstallContext& context, std::string& result)
{
    const int os = context.m_nTargetOs;
    const int bits = context.m_nInstallFlags;
    std::string processorDirectory;
    // Asked before the spooler is touched.
    if ((bits & UPD_PROCESSOR) && !GetProcessorDirectory(processorDirectory)) {
        result = g_langMsg.GetText("IDS_ERR_GETPRODIR");
        return false;
    }

    StopSpooler();
    SpoolerRestart restart;
    g_platformApi.sleep(kAfterStopMs);
    if (!ApplyPendingUpdates(context, bits, processorDirectory.c_str(), result))
        return false;
    restart.Dismiss();

    StartSpooler(result);
    if (os == 1 || os == 2)
        g_platformApi.sleep(kAfterStartNt4And2000Ms);
    else if (os == 3 || os == 4)
        g_platformApi.sleep(kAfterStartXpAnd2003Ms);

    const DWORD state = WaitSpoolerRunning(result);
    if (state == SERVICE_RUNNING)
        return true;
    if (state == SERVICE_STOPPED || state == SERVICE_STOP_PENDING) {
        StartSpooler(result);
        g_platformApi.sleep(kAfterSecondStartMs);
        return true;
    }
    return false;
}

// One file into the destination kind; false when the step leaves a text.
bool CopyTested(char* name, int kind, int os, std::string& result)
{
    CopyDriverFile(name, kind, os, false, result);
    return Tested(result);
}

bool CopyNamedTested(const char* name, int kind, int os, std::string& result)
{
    std::string copy = name;
    return CopyTested(&copy[0], kind, os, result);
}

bool CopyDriverFiles(InstallContext& context, std::string& result)
{
    const int os = context.m_nTargetOs;
    DriverFileList& files = context.m_driverFiles;

    char* required[] = {files.ConfigFile, files.DataFile, files.DriverPath, files.HelpFile};
    for (char* slot : required) {
        if (slot[0] == '\0') {
            result = g_langMsg.GetText("IDS_ERR_LOSTDRIVERFILE");
            return false;
        }
    }
    for (char* slot : required) {
        if (!CopyTested(slot, DIR_DRIVER, os, result))
            return false;
    }

    struct Optional {
        char* slot;
        int kind;
    };
    const Optional optional[] = {
        {files.DataFileDLLName, DIR_DRIVER},
        {files.DataOemuiDLL, DIR_DRIVER},
        {files.DataOemuniDLL, DIR_DRIVER},
        {files.DataOemuniini, DIR_DRIVER},
        {files.ControlFontFile, DIR_DRIVER_3},
        {files.USBInternalID, DIR_DRIVER_3},
    };
    for (const Optional& file : optional) {
        if (!IsSkippedSlot(file.slot) && !CopyTested(file.slot, file.kind, os, result))
            return false;
    }
    for (char* slot : files.LanguageResourceFile) {
        if (!IsSkippedSlot(slot) && !CopyTested(slot, DIR_DRIVER_3, os, result))
            return false;
    }

    // Windows XP's system files that some drivers need, where the system lacks them.
    if (os == 3 && !g_bWow64) {
        if (!CopyNamedTested("srclient.dll", DIR_SYSTEM_IF_ABSENT, os, result)
            || !CopyNamedTested("framedyn.dll", DIR_WBEM_IF_ABSENT, os, result)
            || !CopyNamedTested("newdev.dll", DIR_SYSTEM_IF_ABSENT, os, result))
            return false;
    }
    return true;
}

// The serial settings go under the system's port name: "TVCOM3:" is "COM3:".
void WriteSerialSettings(InstallContext& context)
{
    const char* port = std::strstr(context.m_szPort, "COM");
    if (port == nullptr)
        return;
    const int number = std::isdigit(static_cast<unsigned char>(port[3])) ? port[3] - '0' : 0;
    context.m_cParity = static_cast<char>(std::tolower(static_cast<unsigned char>(context.m_cParity)));
    if (context.m_nTargetOs == 0)
        WriteComSettings9x(number, port, context.m_nBaudRate, context.m_nByteSize, context.m_dStopBits,
                           context.m_cParity, context.m_cProtocol);
    else
        WriteComSettingsNt(port, context.m_nBaudRate, context.m_nByteSize, context.m_dStopBits, context.m_cParity,
                           context.m_cProtocol);
}

// The queue record's printer name points at the name it was created under
// while the sequence runs; afterwards it is the launch's again.
class PrinterNameRestore {
public:
    explicit PrinterNameRestore(PRINTER_INFO_2A& printer) : m_printer(printer), m_name(printer.pPrinterName) {}
    ~PrinterNameRestore() { m_printer.pPrinterName = m_name; }
    PrinterNameRestore(const PrinterNameRestore&) = delete;
    PrinterNameRestore& operator=(const PrinterNameRestore&) = delete;

private:
    PRINTER_INFO_2A& m_printer;
    LPSTR m_name;
};

bool RunSteps(InstallContext& context, std::string& result)
{
    const int os = context.m_nTargetOs;
    const bool usb = context.m_nPortKind == kPortUsb;

    context.m_nInstallFlags = 0;
    context.m_nInstallFlags = CheckPortMonitors(context, os, context.m_szPort, result);
    if (context.m_nInstallFlags == CHECK_MONITOR_FAILED)
        return false;
    const int processor = CheckPrintProcessor(os, context.m_printerInfo.pPrintProcessor,
                                              context.m_driverFiles.ProcessorDLLName, result);
    if (processor == CHECK_PROCESSOR_FAILED)
        return false;
    context.m_nInstallFlags |= processor;

    if (context.m_nInstallFlags != 0) {
        if (IsNtFamily(os)) {
            if (!UpdateComponentsNt(context, result))
                return false;
        } else if (!ApplyPendingUpdates(context, context.m_nInstallFlags, "", result)) {
            return false;
        }
    }

    if (usb && !CheckPortEnumeration(result))
        return false;
    if (!CopyDriverFiles(context, result))
        return false;

    const bool ddk = context.m_config.IsDdkDriver(context.m_szModel, os, context.m_bRaster);
    RestoreSystemFiles(os, ddk, result);

    // The colour module of two models' Windows 98/Me drivers.
    if (os == 0
        && (std::strstr(context.m_szModel, "QMT-K520") != nullptr
            || std::strstr(context.m_szModel, "QMT-K410") != nullptr)
        && !CopyNamedTested("DMCOLOR.DLL", DIR_DRIVER, os, result))
        return false;

    // A DDK driver needs its data DLL; "0" names none on purpose.
    if (ddk && context.m_driverFiles.DataFileDLLName[0] == '\0') {
        result = g_langMsg.GetText("IDS_ERR_LOSTDRIVERFILE");
        return false;
    }

    const char* languageMonitorDll = context.m_monitorInfo.pDLLName;
    if (usb && languageMonitorDll != nullptr && !IsSkippedSlot(languageMonitorDll)) {
        context.m_nInstallFlags = CheckLanguageMonitor(context, os, context.m_szPort, result);
        if (context.m_nInstallFlags == CHECK_MONITOR_FAILED)
            return false;
        if ((context.m_nInstallFlags & UPD_LANG_MONITOR) && !ApplyLanguageMonitorUpdate(context, result))
            return false;
    }

    if (!InstallPrinterDriver(context.m_driverInfo, result))
        return false;
    if (usb && !MarkUsbPrinterPort(context.m_szPort))
        return false;

    PrinterNameRestore restoreName(context.m_printerInfo);
    std::string queueName;
    if (!AddPrinterUnique(context.m_printerInfo, 2, usb, queueName, result))
        return false;
    CopyText(context.m_szModel, queueName.c_str());
    if (context.m_szModel[0] == '\0')
        return false;

    if (context.m_bSetDefault)
        MakeDefaultPrinter(context.m_szModel);
    if (context.m_nPortKind == kPortCom)
        WriteSerialSettings(context);

    if (IsNtFamily(os))
        result = g_langMsg.GetText(usb ? "IDS_INF_USBRESTART" : "IDS_INF_NTRESTART");
    return true;
}

} // namespace

int RunInstallSequence(InstallContext& context)
{
    try {
        return RunSteps(context, g_szResultMessage) ? kInstallDone : kInstallFailed;
    } catch (...) {
        // Out of memory somewhere in a step: the installation has failed.
        return kInstallFailed;
    }
}

UINT InstallWorker(LPVOID startRecord)
{
    auto* record = static_cast<InstallStartRecord*>(startRecord);
    // The record belongs to the launch: read once, and the progress window is
    // not touched after the final write.
    CProgressDlg* progress = record->progress;
    const int outcome = RunInstallSequence(*record->wizard);
    progress->m_nResult.store(outcome, std::memory_order_release);
    return 0;
}
