// The component checks against Wine's spooler and registry: missing monitors
// and processors installed with their version, installed ones compared with
// the configured version, a DLL in use taken under its "n" name.

#include "install/MonitorChecks.h"

#include "config/LangText.h"
#include "install/SpoolerApi.h"
#include "platform/Handles.h"
#include "platform/SystemMessage.h"
#include "support/ScopedSpoolerApi.h"

#include "ComponentFixture.h"

#include <vector>

namespace {

using namespace component_test;

class MonitorChecks : public Components {};

TEST_F(MonitorChecks, MissingMonitorsAreInstalledWithTheirVersion)
{
    const struct {
        const char* port;
        const char* monitor;
        const char* dll;
        const char* uiDll;
        DWORD version;
        bool language;
    } cases[] = {
        {"COM1:", kComMonitor, "TVCOMMON.DLL", "TVCOMUI.DLL", 2, false},
        {"TVCOM3:", kComMonitor, "TVCOMMON.DLL", "TVCOMUI.DLL", 2, false},
        {"USB_QMT-K410_1", kUsbMonitor, "TVUSBMON.DLL", "TVUSBUI.DLL", 3, false},
        {"USB_QMT-K410_2", kLanguageMonitor, "TVLMON.DLL", nullptr, 3, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.port);
        SystemChanges undo;
        InstallContext& context = Prepare(c.port);

        const int check = c.language ? CheckLanguageMonitor(context, 7, c.port, result)
                                     : CheckPortMonitors(context, 7, c.port, result);

        EXPECT_EQ(check, 0);
        EXPECT_EQ(result, "");
        EXPECT_EQ(TextValue(MonitorKey(c.monitor), "Driver"), c.dll);
        EXPECT_EQ(DwordValue(MonitorKey(c.monitor), "DriverVersion"), c.version);
        EXPECT_TRUE(FileExists(SystemFolderPath() + "\\" + c.dll));
        if (c.uiDll != nullptr) {
            EXPECT_TRUE(FileExists(SystemFolderPath() + "\\" + c.uiDll));
        }
    }
}

TEST_F(MonitorChecks, PortsAndSystemsWithoutAMonitorOfTheMaker)
{
    const struct {
        const char* what;
        const char* port;
        int os;
        bool wow64;
    } cases[] = {
        {"parallel port", "LPT1:", 7, false},
        {"network port", "NET:", 7, false},
        {"serial port, Windows 98", "COM1:", 0, false},
        {"serial port, 64-bit Windows", "COM1:", 7, true},
        {"USB port, NT 4.0", "USB_QMT-K410_1", 1, false},
    };
    const std::set<std::string> before = [] {
        std::set<std::string> names;
        for (const char* monitor : {kComMonitor, kUsbMonitor, kLanguageMonitor})
            if (KeyExists(MonitorKey(monitor)))
                names.insert(monitor);
        return names;
    }();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScopedWow64Flag flag(c.wow64);
        InstallContext& context = Prepare(c.port, c.os);

        EXPECT_EQ(CheckPortMonitors(context, c.os, c.port, result), 0);
        EXPECT_EQ(CheckLanguageMonitor(context, c.os, c.port, result), 0);

        EXPECT_EQ(result, "");
        for (const char* monitor : {kComMonitor, kUsbMonitor, kLanguageMonitor})
            EXPECT_EQ(KeyExists(MonitorKey(monitor)), before.count(monitor) != 0) << monitor;
    }
}

// The monitor installed for real first, then its version changed.
TEST_F(MonitorChecks, AnInstalledMonitorIsOutdatedByItsVersion)
{
    const struct {
        const char* what;
        DWORD configured;
        long long installed; // -1: no "DriverVersion"
        int expected;
    } cases[] = {
        {"same version", 3, 3, 0},
        {"configured newer", 4, 3, UPD_COM_MONITOR},
        {"installed newer", 3, 5, 0},
        {"installed without a version", 3, -1, UPD_COM_MONITOR},
        // Unsigned: a configured version above 2^31 is newer still.
        {"configured above 2^31", 0x80000001u, 7, UPD_COM_MONITOR},
    };
    Prepare("COM1:");
    ASSERT_EQ(CheckPortMonitors(prepared->context(), 7, "COM1:", result), 0) << result;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        folder.Set("DRVCONFIG\\setup.ini", "COMMON-MONITOR.Win7", "COMMONitorVersion", std::to_string(c.configured));
        if (c.installed < 0)
            DeleteValue(MonitorKey(kComMonitor), "DriverVersion");
        else
            SetDword(MonitorKey(kComMonitor), "DriverVersion", static_cast<DWORD>(c.installed));
        InstallContext& context = Prepare("COM1:");

        EXPECT_EQ(CheckPortMonitors(context, 7, "COM1:", result), c.expected);
        // An outdated monitor is only reported here.
        EXPECT_EQ(DwordValue(MonitorKey(kComMonitor), "DriverVersion"), c.installed);
    }
}

TEST_F(MonitorChecks, OutdatedUsbAndLanguageMonitorsAreReported)
{
    InstallContext& context = Prepare("USB_QMT-K410_1");
    ASSERT_EQ(CheckPortMonitors(context, 7, "USB_QMT-K410_1", result), 0) << result;
    ASSERT_EQ(CheckLanguageMonitor(context, 7, "USB_QMT-K410_1", result), 0) << result;
    SetDword(MonitorKey(kUsbMonitor), "DriverVersion", 2);
    SetDword(MonitorKey(kLanguageMonitor), "DriverVersion", 2);

    EXPECT_EQ(CheckPortMonitors(context, 7, "USB_QMT-K410_1", result), UPD_USB_MONITOR);
    EXPECT_EQ(CheckLanguageMonitor(context, 7, "USB_QMT-K410_1", result), UPD_LANG_MONITOR);
}

TEST_F(MonitorChecks, AMissingMonitorWhoseDllIsInUseIsInstalledUnderItsNName)
{
    ModuleHandle held(HoldInSystemFolder("TVCOMMON.DLL"));
    ASSERT_TRUE(held);
    InstallContext& context = Prepare("COM2:");

    EXPECT_EQ(CheckPortMonitors(context, 7, "COM2:", result), 0);

    EXPECT_EQ(result, "");
    EXPECT_EQ(TextValue(MonitorKey(kComMonitor), "Driver"), "nTVCOMMON.DLL");
    EXPECT_EQ(DwordValue(MonitorKey(kComMonitor), "DriverVersion"), 2);
    EXPECT_TRUE(FileExists(SystemFolderPath() + "\\nTVCOMMON.DLL"));
}

TEST_F(MonitorChecks, AMonitorWhoseDllIsMissingFailsWithTheRegistrationText)
{
    folder.Set("DRVCONFIG\\setup.ini", "COMMON-MONITOR.Win7", "COMMONitorPDLLName", "DSNOMON.DLL");
    InstallContext& context = Prepare("COM1:");

    EXPECT_EQ(CheckPortMonitors(context, 7, "COM1:", result), CHECK_MONITOR_FAILED);

    std::string notFound;
    ASSERT_TRUE(DescribeSystemError(ERROR_MOD_NOT_FOUND, notFound));
    EXPECT_EQ(result, g_langMsg.GetText("IDS_ERR_ADDMONITOR") + "\n" + notFound);
    EXPECT_FALSE(KeyExists(MonitorKey(kComMonitor)));
}

// ---------------------------------------------------------------------------
// Print processors, on 64-bit Windows, whose environment Wine's spooler uses.

class ProcessorChecks : public Components {
protected:
    As64BitWindows system;
    const std::string key = ProcessorKeyPath(7, kProcessor);
};

TEST_F(ProcessorChecks, AMissingProcessorIsInstalledWithItsVersion)
{
    InstallContext& context = Prepare("LPT1:");
    const std::string dll = context.m_driverFiles.ProcessorDLLName;
    ASSERT_FALSE(KeyExists(key));

    EXPECT_EQ(CheckPrintProcessor(7, kProcessor, context.m_driverFiles.ProcessorDLLName, result), 0);

    EXPECT_EQ(result, "");
    EXPECT_EQ(TextValue(key, "Driver"), dll);
    EXPECT_EQ(DwordValue(key, "DriverVersion"), 2);
    EXPECT_EQ(ReadText(ProcessorFolderPath() + "\\" + dll), ReadText(folder.PathOf("W64\\" + dll)));
    // The spooler gets a moment with its new processor.
    EXPECT_EQ(waits.Waits(), std::vector<DWORD>{200});
}

TEST_F(ProcessorChecks, AnInstalledProcessorIsOutdatedByItsVersion)
{
    InstallContext& context = Prepare("LPT1:");
    ASSERT_EQ(CheckPrintProcessor(7, kProcessor, context.m_driverFiles.ProcessorDLLName, result), 0) << result;
    const struct {
        const char* what;
        DWORD configured;
        long long installed;
        int expected;
    } cases[] = {
        {"same version", 3, 3, 0},
        {"configured newer", 4, 3, UPD_PROCESSOR},
        {"installed newer", 2, 3, 0},
        {"installed without a version", 2, -1, UPD_PROCESSOR},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        folder.Set("DRVCONFIG\\setup.ini", "ProcessorVersion", "DriverVersion", std::to_string(c.configured));
        if (c.installed < 0)
            DeleteValue(key, "DriverVersion");
        else
            SetDword(key, "DriverVersion", static_cast<DWORD>(c.installed));
        waits.Clear();

        EXPECT_EQ(CheckPrintProcessor(7, kProcessor, context.m_driverFiles.ProcessorDLLName, result), c.expected);
        EXPECT_EQ(DwordValue(key, "DriverVersion"), c.installed);
        EXPECT_TRUE(waits.Waits().empty());
    }
}

TEST_F(ProcessorChecks, TheSystemsWinPrintIsLeftAlone)
{
    char dll[] = "TVPPROC.DLL";
    const std::string winPrint = ProcessorKeyPath(7, "WinPrint");
    const long long before = DwordValue(winPrint, "DriverVersion");

    EXPECT_EQ(CheckPrintProcessor(7, "WinPrint", dll, result), 0);

    EXPECT_EQ(DwordValue(winPrint, "DriverVersion"), before);
    EXPECT_FALSE(FileExists(ProcessorFolderPath() + "\\TVPPROC.DLL"));
}

// Wine's spooler takes every print processor; a refusal can only be told.
BOOL WINAPI RefuseProcessor(LPSTR, LPSTR, LPSTR, LPSTR)
{
    ::SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

TEST_F(ProcessorChecks, ARefusedProcessorFailsWithItsText)
{
    ScopedSpoolerApi spooler;
    g_spoolerApi.addPrintProcessor = RefuseProcessor;
    InstallContext& context = Prepare("LPT1:");
    result = "earlier text";

    EXPECT_EQ(CheckPrintProcessor(7, kProcessor, context.m_driverFiles.ProcessorDLLName, result),
              CHECK_PROCESSOR_FAILED);

    EXPECT_EQ(result, g_langMsg.GetText("IDS_ERR_ADDPROCESSOR"));
    EXPECT_FALSE(KeyExists(key));
}

} // namespace
