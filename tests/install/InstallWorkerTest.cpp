// Whole installations against Wine's spooler, service manager, registry and
// files, from the demo setup folder: the result text, what the spooler holds
// afterwards, the Spooler service around component updates and after
// failures, and the worker on its thread reporting to the progress window.

#include "install/InstallWorker.h"

#include "afx/WinThread.h"
#include "config/LangText.h"
#include "install/MonitorChecks.h"
#include "install/PortRegistry.h"
#include "install/SpoolerApi.h"
#include "install/SpoolerService.h"
#include "platform/Handles.h"
#include "platform/SystemMessage.h"
#include "support/CountedServiceCalls.h"
#include "support/HostCommands.h"
#include "support/ProgramResources.h"
#include "support/ScopedFileDeployApi.h"
#include "support/ScopedSpoolerApi.h"
#include "wizard/ProgressDlg.h"

#include "ComponentFixture.h"

#include <algorithm>
#include <filesystem>
#include <vector>

namespace {

using namespace component_test;

// A driver as the spooler lists it; empty name when it has none such.
struct DriverReadBack {
    std::string name;
    std::string driverPath;
    std::string configFile;
    std::string dataFile;
    std::string monitor;
};

DriverReadBack ReadDriver(const std::string& name)
{
    DWORD needed = 0;
    DWORD count = 0;
    ::EnumPrinterDriversA(nullptr, nullptr, 3, nullptr, 0, &needed, &count);
    std::vector<BYTE> list(needed);
    if (needed == 0 || !::EnumPrinterDriversA(nullptr, nullptr, 3, list.data(), needed, &needed, &count))
        return {};
    const auto* drivers = reinterpret_cast<const DRIVER_INFO_3A*>(list.data());
    for (DWORD i = 0; i < count; ++i) {
        if (name == drivers[i].pName) {
            const DRIVER_INFO_3A& d = drivers[i];
            return {d.pName, d.pDriverPath ? d.pDriverPath : "", d.pConfigFile ? d.pConfigFile : "",
                    d.pDataFile ? d.pDataFile : "", d.pMonitorName ? d.pMonitorName : ""};
        }
    }
    return {};
}

struct QueueReadBack {
    std::string name;
    std::string driver;
    std::string port;
    std::string processor;
};

QueueReadBack ReadQueue(const std::string& name)
{
    PrinterHandle printer;
    if (!::OpenPrinterA(const_cast<LPSTR>(name.c_str()), printer.Receive(), nullptr))
        return {};
    DWORD needed = 0;
    ::GetPrinterA(printer.Get(), 2, nullptr, 0, &needed);
    std::vector<BYTE> info(needed);
    if (needed == 0 || !::GetPrinterA(printer.Get(), 2, info.data(), needed, &needed))
        return {};
    const auto* q = reinterpret_cast<const PRINTER_INFO_2A*>(info.data());
    return {q->pPrinterName, q->pDriverName, q->pPortName, q->pPrintProcessor};
}

std::string FileName(const std::string& path)
{
    const size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Text(const char* key)
{
    return g_langMsg.GetText(key);
}

std::string Description(DWORD error)
{
    std::string description;
    DescribeSystemError(error, description);
    return description;
}

const char kDriverFiles[][16] = {"TVGDI.DLL", "QK410.DAT", "TVGDIUI.DLL", "TVGDI.HLP"};
const char kDriver3Files[][16] = {"TVCTRL.TTF", "TVUSBID.DLL", "TVLNGENU.DLL", "TVLNGCHS.DLL", "TVLNGJPN.DLL"};

class InstallSequence : public Components {
protected:
    InstallSequence() : waits5(5)
    {
        EnsureSpoolerRunning();
        g_szResultMessage.clear();
    }
    ~InstallSequence() override { g_szResultMessage.clear(); }

    InstallContext& PrepareChoice(const InstallChoice& choice)
    {
        prepared = std::make_unique<PreparedInstall>(choice);
        return prepared->context();
    }

    int Install(const InstallChoice& choice)
    {
        g_szResultMessage.clear();
        return RunInstallSequence(PrepareChoice(choice));
    }

    // The waits pass for a few real milliseconds: Wine's service manager
    // needs a moment between a stop and a start.
    RecordedWaits waits5;
    CountedServiceCalls services;
};

TEST_F(InstallSequence, EachPortKindInstallsTheDriverAndTheQueue)
{
    const struct {
        const char* port;
        const char* driver;
        const char* queue;
        const char* queuePort;
        const char* success;
        const char* serialPort; // where the serial settings go, or null
    } cases[] = {
        {"COM1:", "QMT-K410 (Serial)", "QMT-K410(S)", "COM1:", "IDS_INF_NTRESTART", "COM1:"},
        {"TVCOM2:", "QMT-K410 (Serial)", "QMT-K410(S)", "TVCOM2:", "IDS_INF_NTRESTART", "COM2:"},
        {"LPT1:", "QMT-K410 (Parallel)", "QMT-K410(P)", "LPT1:", "IDS_INF_NTRESTART", nullptr},
        {"USB_QMT-K410_1", "QMT-K410 (USB)", "QMT-K410(U) 1", "USB_QMT-K410_1", "IDS_INF_USBRESTART", nullptr},
        {"NET:", "QMT-K410 (Network)", "QMT-K410(E)", "TVIP_192.168.0.7", "IDS_INF_NTRESTART", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.port);
        SystemChanges undo;
        InstallChoice choice;
        choice.port = c.port;
        choice.parity = 'E';

        ASSERT_EQ(Install(choice), kInstallDone) << g_szResultMessage;

        InstallContext& context = prepared->context();
        EXPECT_EQ(g_szResultMessage, Text(c.success));
        EXPECT_STREQ(context.m_szModel, c.queue);

        const DriverReadBack driver = ReadDriver(c.driver);
        ASSERT_EQ(driver.name, c.driver);
        EXPECT_EQ(FileName(driver.driverPath), "TVGDI.DLL");
        EXPECT_EQ(FileName(driver.configFile), "TVGDIUI.DLL");
        EXPECT_EQ(FileName(driver.dataFile), "QK410.DAT");
        EXPECT_EQ(driver.monitor, context.m_nPortKind == kPortUsb ? kLanguageMonitor : "");

        const QueueReadBack queue = ReadQueue(c.queue);
        EXPECT_EQ(queue.name, c.queue);
        EXPECT_EQ(queue.driver, c.driver);
        EXPECT_EQ(queue.port, c.queuePort);
        EXPECT_EQ(queue.processor, kProcessor);

        for (const char* file : kDriverFiles)
            EXPECT_TRUE(FileExists(DriverFolderPath() + "\\" + file)) << file;
        for (const char* file : kDriver3Files)
            EXPECT_TRUE(FileExists(DriverFolderPath() + "\\3\\" + file)) << file;

        if (c.serialPort != nullptr) {
            EXPECT_EQ(TextValue(kNtPortsKey, c.serialPort),
                      FormatSerialSettings(38400, 8, 1, 'e', 'x'));
            EXPECT_EQ(context.m_cParity, 'e');
            EXPECT_EQ(TextValue(MonitorKey(kComMonitor), "Driver"), "TVCOMMON.DLL");
        }
        if (context.m_nPortKind == kPortUsb) {
            EXPECT_EQ(DwordValue("SOFTWARE\\TALVORN\\PRINTERPORT", c.port), 0);
            EXPECT_EQ(TextValue(MonitorKey(kUsbMonitor), "Driver"), "TVUSBMON.DLL");
            EXPECT_EQ(TextValue(MonitorKey(kLanguageMonitor), "Driver"), "TVLMON.DLL");
        }
        // Nothing was outdated: the Spooler service was left alone.
        EXPECT_EQ(services.Stops(), 0);
        EXPECT_EQ(services.Starts(), 0);
    }
}

TEST_F(InstallSequence, TheNewQueueCanBecomeTheDefaultPrinter)
{
    InstallChoice choice;
    choice.setDefault = 1;

    ASSERT_EQ(Install(choice), kInstallDone) << g_szResultMessage;

    char current[MAX_PATH] = {};
    DWORD size = sizeof(current);
    ASSERT_TRUE(::GetDefaultPrinterA(current, &size));
    EXPECT_STREQ(current, "QMT-K410(P)");
}

TEST_F(InstallSequence, ASecondRunWithEverythingCurrentLeavesTheSpoolerAlone)
{
    InstallChoice choice;
    choice.port = "USB_QMT-K410_1";
    ASSERT_EQ(Install(choice), kInstallDone) << g_szResultMessage;

    ASSERT_EQ(Install(choice), kInstallDone) << g_szResultMessage;

    EXPECT_EQ(prepared->context().m_nInstallFlags, 0);
    EXPECT_EQ(services.Stops(), 0);
    EXPECT_EQ(services.Starts(), 0);
}

// The 64-bit program paths, where the processor's key is the one Wine's
// spooler keeps: the components get their versions once, then are current.
TEST_F(InstallSequence, On64BitWindowsTheComponentsAreInstalledOnceAndThenCurrent)
{
    As64BitWindows system;
    InstallChoice choice;
    choice.port = "USB_QMT-K410_1";

    ASSERT_EQ(Install(choice), kInstallDone) << g_szResultMessage;

    const std::string processorKey = ProcessorKeyPath(7, kProcessor);
    EXPECT_EQ(TextValue(processorKey, "Driver"), "TVPPRO64.DLL");
    EXPECT_EQ(DwordValue(processorKey, "DriverVersion"), 2);
    EXPECT_EQ(DwordValue(MonitorKey(kUsbMonitor), "DriverVersion"), 3);
    EXPECT_EQ(DwordValue(MonitorKey(kLanguageMonitor), "DriverVersion"), 3);
    EXPECT_EQ(FileName(ReadDriver("QMT-K410 (USB)").driverPath), "TVGDI64.DLL");

    ASSERT_EQ(Install(choice), kInstallDone) << g_szResultMessage;
    EXPECT_EQ(prepared->context().m_nInstallFlags, 0);
    EXPECT_EQ(services.Stops(), 0);
    EXPECT_EQ(services.Starts(), 0);
}

// A spooler that refuses names in use, as Windows does, in front of Wine's.
HANDLE WINAPI AddPrinterRefusingNamesInUse(LPSTR server, DWORD level, LPBYTE printer)
{
    const char* name = reinterpret_cast<PRINTER_INFO_2A*>(printer)->pPrinterName;
    if (!ReadQueue(name).name.empty()) {
        ::SetLastError(ERROR_PRINTER_ALREADY_EXISTS);
        return nullptr;
    }
    return ::AddPrinterA(server, level, printer);
}

TEST_F(InstallSequence, ASecondQueueGetsANumberedNameExceptOnUsb)
{
    ScopedSpoolerApi spooler;
    g_spoolerApi.addPrinter = AddPrinterRefusingNamesInUse;
    InstallChoice parallel;
    ASSERT_EQ(Install(parallel), kInstallDone) << g_szResultMessage;

    ASSERT_EQ(Install(parallel), kInstallDone) << g_szResultMessage;
    EXPECT_STREQ(prepared->context().m_szModel, "QMT-K410(P)(1)");
    EXPECT_EQ(ReadQueue("QMT-K410(P)(1)").driver, "QMT-K410 (Parallel)");

    InstallChoice usb;
    usb.port = "USB_QMT-K410_1";
    ASSERT_EQ(Install(usb), kInstallDone) << g_szResultMessage;
    EXPECT_EQ(Install(usb), kInstallFailed);
    EXPECT_EQ(g_szResultMessage, Text("IDS_ERR_TOOMANY"));
    EXPECT_EQ(SpoolerState(), static_cast<DWORD>(SERVICE_RUNNING));
}

// ---------------------------------------------------------------------------
// Component updates with the Spooler service stopped around them.

class UpdatePhase : public InstallSequence {
protected:
    // The COM monitor installed by an earlier installation (so Wine's spooler
    // holds its DLL) at version 1, and the print processor known to the
    // spooler at version 1 in the key the program reads.
    void InstallOutdatedComponents()
    {
        InstallContext& context = Prepare("COM1:");
        ASSERT_EQ(CheckPortMonitors(context, 7, "COM1:", result), 0) << result;
        SetDword(MonitorKey(kComMonitor), "DriverVersion", 1);

        const std::string dll = context.m_driverFiles.ProcessorDLLName;
        ASSERT_TRUE(::CopyFileA(folder.PathOf("W32\\" + dll).c_str(), (ProcessorFolderPath() + "\\" + dll).c_str(),
                                FALSE));
        ASSERT_TRUE(::AddPrintProcessorA(nullptr, nullptr, const_cast<LPSTR>(dll.c_str()),
                                         const_cast<LPSTR>(kProcessor)));
        SetDword(ProcessorKeyPath(7, kProcessor), "DriverVersion", 1);
    }

    // The waits from the one after the spooler's stop on.
    std::vector<DWORD> WaitsFromStop() const
    {
        std::vector<DWORD> all = waits5.Waits();
        auto stop = std::find(all.begin(), all.end(), 500u);
        return std::vector<DWORD>(stop, all.end());
    }
};

TEST_F(UpdatePhase, AnOutdatedComMonitorIsReplacedAndTheProcessorWaits)
{
    ASSERT_NO_FATAL_FAILURE(InstallOutdatedComponents());
    InstallChoice choice;
    choice.port = "COM1:";

    ASSERT_EQ(Install(choice), kInstallDone) << g_szResultMessage;

    EXPECT_EQ(prepared->context().m_nInstallFlags, UPD_COM_MONITOR | UPD_PROCESSOR);
    // The monitor's DLL was in use: the new one went under its "n" name.
    EXPECT_EQ(TextValue(MonitorKey(kComMonitor), "Driver"), "nTVCOMMON.DLL");
    EXPECT_EQ(DwordValue(MonitorKey(kComMonitor), "DriverVersion"), 2);
    EXPECT_EQ(DwordValue(ProcessorKeyPath(7, kProcessor), "DriverVersion"), 1);
    EXPECT_EQ(services.Stops(), 1);
    EXPECT_EQ(services.Starts(), 1);
    EXPECT_EQ(SpoolerState(), static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_EQ(g_szResultMessage, Text("IDS_INF_NTRESTART"));
}

TEST_F(UpdatePhase, On64BitWindowsAnOutdatedProcessorIsReplaced)
{
    As64BitWindows system;
    ASSERT_EQ(Install(InstallChoice()), kInstallDone) << g_szResultMessage;
    const std::string key = ProcessorKeyPath(7, kProcessor);
    SetDword(key, "DriverVersion", 1);
    const std::string copy = ProcessorFolderPath() + "\\TVPPRO64.DLL";
    std::ofstream(copy, std::ios::binary | std::ios::trunc) << "an older processor";

    ASSERT_EQ(Install(InstallChoice()), kInstallDone) << g_szResultMessage;

    EXPECT_EQ(prepared->context().m_nInstallFlags, UPD_PROCESSOR);
    EXPECT_EQ(DwordValue(key, "DriverVersion"), 2);
    EXPECT_EQ(ReadText(copy), ReadText(folder.PathOf("W64\\TVPPRO64.DLL")));
    EXPECT_EQ(services.Stops(), 1);
    EXPECT_EQ(services.Starts(), 1);
    EXPECT_EQ(SpoolerState(), static_cast<DWORD>(SERVICE_RUNNING));
}

TEST_F(UpdatePhase, TheWaitAfterTheStartDependsOnTheTargetSystem)
{
    const struct {
        int os;
        std::vector<DWORD> waits; // from the wait after the stop to the first one after the start
    } cases[] = {
        {1, {500, 1000}},
        {2, {500, 1000}},
        {3, {500, 2500}},
        {4, {500, 2500}},
        {7, {500}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.os);
        SystemChanges undo;
        // An outdated monitor without a loaded DLL: a plain copy.
        SetText(MonitorKey(kComMonitor), "Driver", "TVCOMMON.DLL");
        SetDword(MonitorKey(kComMonitor), "DriverVersion", 1);
        InstallChoice choice;
        choice.port = "COM1:";
        choice.targetOs = c.os;
        waits5.Clear();

        Install(choice);

        const std::vector<DWORD> fromStop = WaitsFromStop();
        ASSERT_GE(fromStop.size(), c.waits.size());
        EXPECT_EQ(std::vector<DWORD>(fromStop.begin(), fromStop.begin() + c.waits.size()), c.waits);
        if (c.os >= 5) {
            EXPECT_TRUE(fromStop.size() == 1 || (fromStop[1] != 1000 && fromStop[1] != 2500));
        }
        EXPECT_EQ(DwordValue(MonitorKey(kComMonitor), "DriverVersion"), 2);
    }
}

TEST_F(UpdatePhase, AFailedUpdateStartsTheSpoolerAgainAndKeepsItsText)
{
    SetText(MonitorKey(kComMonitor), "Driver", "TVCOMMON.DLL");
    SetDword(MonitorKey(kComMonitor), "DriverVersion", 1);
    ::DeleteFileA(folder.PathOf("W32\\TVCOMMON.DLL").c_str());
    InstallChoice choice;
    choice.port = "COM1:";

    EXPECT_EQ(Install(choice), kInstallFailed);

    EXPECT_EQ(g_szResultMessage, Text("IDS_ERR_COPYFIEL") + "TVCOMMON.DLL\n" + Description(ERROR_FILE_NOT_FOUND)
                                     + Text("IDS_ERR_COPYFIEL1"));
    EXPECT_EQ(services.Stops(), 1);
    EXPECT_GE(services.Starts(), 1);
    EXPECT_EQ(SpoolerState(), static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_EQ(DwordValue(MonitorKey(kComMonitor), "DriverVersion"), 1);
    EXPECT_TRUE(ReadDriver("QMT-K410 (Serial)").name.empty());
}

BOOL WINAPI RefuseSpoolerFolder(LPSTR, LPSTR, DWORD, LPBYTE, DWORD, LPDWORD)
{
    ::SetLastError(ERROR_INVALID_ENVIRONMENT);
    return FALSE;
}

TEST_F(UpdatePhase, WithoutAProcessorFolderTheSpoolerIsNotTouched)
{
    ASSERT_NO_FATAL_FAILURE(InstallOutdatedComponents());
    ScopedFileDeployApi api;
    g_fileDeployApi.getPrintProcessorDirectory = RefuseSpoolerFolder;
    InstallChoice choice;
    choice.port = "LPT1:";

    EXPECT_EQ(Install(choice), kInstallFailed);

    EXPECT_EQ(g_szResultMessage, Text("IDS_ERR_GETPRODIR"));
    EXPECT_EQ(services.Stops(), 0);
    EXPECT_EQ(services.Starts(), 0);
}

// A service manager that reports the Spooler in a state it is not in (Wine's
// runs at once); everything else goes to the real one.
DWORD g_reportedState = SERVICE_STOPPED;

BOOL WINAPI ReportState(SC_HANDLE, LPSERVICE_STATUS status)
{
    *status = {};
    status->dwCurrentState = g_reportedState;
    return TRUE;
}

TEST_F(UpdatePhase, ASpoolerNotReportedRunningIsStartedOnceMoreOrEndsTheInstallation)
{
    const struct {
        DWORD state;
        int starts;
        bool secondStartWait;
    } cases[] = {
        {SERVICE_STOPPED, 2, true},
        {SERVICE_STOP_PENDING, 2, true},
        {SERVICE_START_PENDING, 1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        SystemChanges undo;
        CountedServiceCalls counted;
        g_reportedState = c.state;
        g_serviceApi.queryServiceStatus = ReportState;
        SetText(MonitorKey(kComMonitor), "Driver", "TVCOMMON.DLL");
        SetDword(MonitorKey(kComMonitor), "DriverVersion", 1);
        InstallChoice choice;
        choice.port = "COM1:";
        waits5.Clear();

        EXPECT_EQ(Install(choice), kInstallFailed);

        // The text of the polling ends the installation at the first copy.
        EXPECT_EQ(g_szResultMessage, "StartSpoolService error");
        EXPECT_EQ(counted.Starts(), c.starts);
        const std::vector<DWORD> all = waits5.Waits();
        EXPECT_EQ(std::count(all.begin(), all.end(), 2500u), c.secondStartWait ? 1 : 0);
        EXPECT_TRUE(ReadDriver("QMT-K410 (Serial)").name.empty());
    }
    EXPECT_EQ(SpoolerState(), static_cast<DWORD>(SERVICE_RUNNING));
}

// ---------------------------------------------------------------------------
// Failures, each with its text; the spooler keeps running.

BOOL WINAPI RefuseDriver(LPSTR, DWORD, LPBYTE)
{
    ::SetLastError(ERROR_UNKNOWN_PRINTER_DRIVER);
    return FALSE;
}

BOOL WINAPI RefuseProcessor(LPSTR, LPSTR, LPSTR, LPSTR)
{
    ::SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

TEST_F(InstallSequence, AFailureEndsTheInstallationWithItsText)
{
    const struct {
        const char* what;
        const char* port;
        std::function<void(SetupFolder&)> arrange;
        std::function<std::string()> expected;
        bool driverInstalled;
    } cases[] = {
        {"a required slot empty", "LPT1:",
         [](SetupFolder& f) { f.Set("DRVCONFIG\\setup_receipt.ini", "QMT-K410.Win7", "GDIHelpFile", ""); },
         [] { return Text("IDS_ERR_LOSTDRIVERFILE"); }, false},
        {"a copy failing", "LPT1:", [](SetupFolder& f) { ::DeleteFileA(f.PathOf("W32\\TVGDIUI.DLL").c_str()); },
         [] {
             return Text("IDS_ERR_COPYFIEL") + "TVGDIUI.DLL\n" + Description(ERROR_FILE_NOT_FOUND)
                 + Text("IDS_ERR_COPYFIEL1");
         },
         false},
        {"an optional file failing", "LPT1:", [](SetupFolder& f) { ::DeleteFileA(f.PathOf("W32\\TVLNGJPN.DLL").c_str()); },
         [] {
             return Text("IDS_ERR_COPYFIEL") + "TVLNGJPN.DLL\n" + Description(ERROR_FILE_NOT_FOUND)
                 + Text("IDS_ERR_COPYFIEL1");
         },
         false},
        {"the driver refused", "LPT1:", [](SetupFolder&) { g_spoolerApi.addPrinterDriver = RefuseDriver; },
         [] { return Text("IDS_ERR_ADDPRNDRV3") + "\n" + Description(ERROR_UNKNOWN_PRINTER_DRIVER); }, false},
        {"a monitor refused", "COM1:",
         [](SetupFolder& f) { f.Set("DRVCONFIG\\setup.ini", "COMMON-MONITOR.Win7", "COMMONitorPDLLName", "DSNO.DLL"); },
         [] { return Text("IDS_ERR_ADDMONITOR") + "\n" + Description(ERROR_MOD_NOT_FOUND); }, false},
        {"the processor refused", "LPT1:", [](SetupFolder&) { g_spoolerApi.addPrintProcessor = RefuseProcessor; },
         [] { return Text("IDS_ERR_ADDPROCESSOR"); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SystemChanges undo;
        SetupFolder setup;
        setup.CopyDemoPackage();
        ScopedSpoolerApi spooler;
        c.arrange(setup);
        InstallChoice choice;
        choice.port = c.port;

        EXPECT_EQ(Install(choice), kInstallFailed);

        EXPECT_EQ(g_szResultMessage, c.expected());
        EXPECT_EQ(ReadDriver(choice.port[0] == 'C' ? "QMT-K410 (Serial)" : "QMT-K410 (Parallel)").name.empty(),
                  !c.driverInstalled);
        EXPECT_TRUE(ReadQueue(choice.port[0] == 'C' ? "QMT-K410(S)" : "QMT-K410(P)").name.empty());
        EXPECT_EQ(SpoolerState(), static_cast<DWORD>(SERVICE_RUNNING));
    }
}

TEST_F(InstallSequence, ARequiredSlotTheConfigurationDoesNotNameIsSkipped)
{
    ::WritePrivateProfileStringA("QMT-K410.Win7", "GDIHelpFile", nullptr,
                                 folder.PathOf("DRVCONFIG\\setup_receipt.ini").c_str());
    InstallChoice choice;

    EXPECT_EQ(Install(choice), kInstallDone) << g_szResultMessage;
    EXPECT_EQ(ReadQueue("QMT-K410(P)").driver, "QMT-K410 (Parallel)");
}

// ---------------------------------------------------------------------------
// Bad input after an earlier installation: it ends with its text, and what
// the earlier one installed stays.

class BadInput : public InstallSequence {
protected:
    void SetUp() override
    {
        InstallChoice choice;
        ASSERT_EQ(Install(choice), kInstallDone) << g_szResultMessage;
        for (const char* file : kDriverFiles)
            m_installed.emplace_back(file, ReadText(DriverFolderPath() + "\\" + file));
    }

    void ExpectEarlierInstallationIntact()
    {
        EXPECT_EQ(ReadDriver("QMT-K410 (Parallel)").name, "QMT-K410 (Parallel)");
        EXPECT_EQ(ReadQueue("QMT-K410(P)").driver, "QMT-K410 (Parallel)");
        for (const auto& [file, content] : m_installed)
            EXPECT_EQ(ReadText(DriverFolderPath() + "\\" + file) == content, true) << file;
        EXPECT_EQ(SpoolerState(), static_cast<DWORD>(SERVICE_RUNNING));
    }

    std::vector<std::pair<std::string, std::string>> m_installed;
};

TEST_F(BadInput, MissingPackageFiles)
{
    ::DeleteFileA(folder.PathOf("W32\\TVGDI.DLL").c_str());

    EXPECT_EQ(Install(InstallChoice()), kInstallFailed);

    EXPECT_EQ(g_szResultMessage, Text("IDS_ERR_COPYFIEL") + "TVGDI.DLL\n" + Description(ERROR_FILE_NOT_FOUND)
                                     + Text("IDS_ERR_COPYFIEL1"));
    ExpectEarlierInstallationIntact();
}

TEST_F(BadInput, APackageWithoutItsArchitecturesFolder)
{
    std::error_code ignored;
    std::filesystem::remove_all(folder.PathOf("W32"), ignored);
    ASSERT_FALSE(FileExists(folder.PathOf("W32")));

    EXPECT_EQ(Install(InstallChoice()), kInstallFailed);

    EXPECT_EQ(g_szResultMessage, Text("IDS_ERR_COPYFIEL") + "TVGDIUI.DLL\n" + Description(ERROR_PATH_NOT_FOUND)
                                     + Text("IDS_ERR_COPYFIEL1"));
    ExpectEarlierInstallationIntact();
}

TEST_F(BadInput, ADriverFolderTheSpoolerWillNotGive)
{
    ScopedFileDeployApi api;
    g_fileDeployApi.getPrinterDriverDirectory = RefuseSpoolerFolder;

    EXPECT_EQ(Install(InstallChoice()), kInstallFailed);

    EXPECT_EQ(g_szResultMessage, Text("IDS_ERR_GETDRIVERDIR"));
    ExpectEarlierInstallationIntact();
}

// A locked driver file is reported by its copy without a text, so the
// installation goes on with the file that is there, and succeeds.
TEST_F(BadInput, ALockedDestination)
{
    const std::string locked = DriverFolderPath() + "\\TVGDI.DLL";
    for (bool immutable : {false, true}) {
        SCOPED_TRACE(immutable ? "unwritable" : "held open without sharing");
        std::shared_ptr<void> hold;
        if (immutable) {
            auto file = std::make_shared<ImmutableFile>(locked);
            if (!file->Made())
                GTEST_SKIP() << "this machine cannot make a file unwritable";
            hold = file;
        } else {
            HANDLE file = ::CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(file, INVALID_HANDLE_VALUE);
            hold.reset(file, [](void* h) { ::CloseHandle(h); });
        }

        EXPECT_EQ(Install(InstallChoice()), kInstallDone);

        EXPECT_EQ(g_szResultMessage, Text("IDS_INF_NTRESTART"));
        hold.reset();
        ExpectEarlierInstallationIntact();
    }
}

// ---------------------------------------------------------------------------
// The worker on its thread, the progress window on this one.

TEST_F(InstallSequence, TheWorkerReportsToTheProgressWindowLast)
{
    ProgramResources resources;
    ASSERT_TRUE(resources.Loaded());
    RecordedWaits fast(1);
    for (bool fails : {false, true}) {
        SCOPED_TRACE(fails ? "failing" : "succeeding");
        SystemChanges undo;
        SetupFolder setup;
        setup.CopyDemoPackage();
        if (fails)
            ::DeleteFileA(setup.PathOf("W32\\TVGDI.DLL").c_str());
        g_szResultMessage.clear();
        PreparedInstall install{InstallChoice()};
        CProgressDlg progress;
        progress.m_nTargetOs = 7;
        InstallStartRecord record{&install.wizard, &progress};
        CWinThread* worker =
            AfxBeginThread(InstallWorker, &record, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
        ASSERT_NE(worker, nullptr);
        worker->m_bAutoDelete = FALSE;
        worker->ResumeThread();

        EXPECT_EQ(progress.DoModal(), IDOK);

        EXPECT_EQ(progress.m_nResult.load(std::memory_order_acquire), fails ? kInstallFailed : kInstallDone);
        EXPECT_EQ(g_szResultMessage.empty(), false);
        EXPECT_EQ(g_szResultMessage == Text("IDS_INF_NTRESTART"), !fails);
        ASSERT_EQ(::WaitForSingleObject(worker->m_hThread.Get(), 60000), WAIT_OBJECT_0);
        DWORD exitCode = 1;
        ::GetExitCodeThread(worker->m_hThread.Get(), &exitCode);
        EXPECT_EQ(exitCode, 0u);
        delete worker;
    }
}

} // namespace
