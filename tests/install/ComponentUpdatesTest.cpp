// Replacement of outdated components against Wine's registry and files: a
// DLL the spooler holds (here: the monitor Wine loaded into this process) goes
// under its "n" name with "Driver" pointing at it; one component per run; the
// Windows 98/Me form with its double lock.

#include "install/ComponentUpdates.h"

#include "config/LangText.h"
#include "install/MonitorChecks.h"
#include "platform/Handles.h"

#include "ComponentFixture.h"

namespace {

using namespace component_test;

class ComponentUpdates : public Components {
protected:
    // An installed monitor that the spooler has not loaded: its key only.
    void RegisterUnloaded(const char* monitor, const char* driver, DWORD version)
    {
        SetText(MonitorKey(monitor), "Driver", driver);
        SetDword(MonitorKey(monitor), "DriverVersion", version);
    }
};

TEST_F(ComponentUpdates, AnOutdatedMonitorInUseIsReplacedUnderItsNName)
{
    const struct {
        const char* port;
        const char* monitor;
        int bit;
        const char* renamed;
        DWORD version;
    } cases[] = {
        {"COM1:", kComMonitor, UPD_COM_MONITOR, "nTVCOMMON.DLL", 2},
        {"USB_QMT-K410_1", kUsbMonitor, UPD_USB_MONITOR, "nTVUSBMON.DLL", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.port);
        SystemChanges undo;
        InstallContext& context = Prepare(c.port);
        // Installed for real: Wine's spooler now holds the DLL.
        ASSERT_EQ(CheckPortMonitors(context, 7, c.port, result), 0) << result;
        SetDword(MonitorKey(c.monitor), "DriverVersion", 1);
        ASSERT_EQ(CheckPortMonitors(context, 7, c.port, result), c.bit);

        EXPECT_TRUE(ApplyPendingUpdates(context, c.bit, "", result));

        EXPECT_EQ(result, "");
        EXPECT_EQ(TextValue(MonitorKey(c.monitor), "Driver"), c.renamed);
        EXPECT_EQ(DwordValue(MonitorKey(c.monitor), "DriverVersion"), c.version);
        EXPECT_TRUE(FileExists(SystemFolderPath() + "\\" + c.renamed));
    }
}

TEST_F(ComponentUpdates, AfterAPlainCopyOnlyTheUsbMonitorsDriverIsSetAgain)
{
    const struct {
        const char* port;
        const char* monitor;
        int bit;
        const char* uiDll;
        const char* driverAfter;
    } cases[] = {
        {"COM1:", kComMonitor, UPD_COM_MONITOR, "TVCOMUI.DLL", "OLDCOM.DLL"},
        {"USB_QMT-K410_1", kUsbMonitor, UPD_USB_MONITOR, "TVUSBUI.DLL", "TVUSBMON.DLL"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.port);
        SystemChanges undo;
        RegisterUnloaded(c.monitor, c.port[0] == 'C' ? "OLDCOM.DLL" : "OLDUSB.DLL", 1);
        InstallContext& context = Prepare(c.port);

        EXPECT_TRUE(ApplyPendingUpdates(context, c.bit, "", result));

        EXPECT_EQ(result, "");
        EXPECT_EQ(TextValue(MonitorKey(c.monitor), "Driver"), c.driverAfter);
        EXPECT_GT(DwordValue(MonitorKey(c.monitor), "DriverVersion"), 1);
        EXPECT_TRUE(FileExists(SystemFolderPath() + "\\" + c.uiDll));
    }
}

TEST_F(ComponentUpdates, OnlyTheFirstOutdatedComponentIsReplaced)
{
    As64BitWindows system;
    RegisterUnloaded(kComMonitor, "TVCOMMON.DLL", 1);
    InstallContext& context = Prepare("COM1:");
    const std::string processorKey = ProcessorKeyPath(7, kProcessor);
    SetDword(processorKey, "DriverVersion", 1);
    const std::string processorDll = context.m_driverFiles.ProcessorDLLName;

    EXPECT_TRUE(ApplyPendingUpdates(context, UPD_COM_MONITOR | UPD_PROCESSOR, ProcessorFolderPath().c_str(), result));

    EXPECT_EQ(DwordValue(MonitorKey(kComMonitor), "DriverVersion"), 2);
    EXPECT_EQ(DwordValue(processorKey, "DriverVersion"), 1);
    EXPECT_FALSE(FileExists(ProcessorFolderPath() + "\\" + processorDll));
}

TEST_F(ComponentUpdates, AnOutdatedProcessorIsCopiedIntoTheProcessorFolder)
{
    As64BitWindows system;
    InstallContext& context = Prepare("LPT1:");
    const std::string key = ProcessorKeyPath(7, kProcessor);
    SetText(key, "Driver", "OLDPROC.DLL");
    SetDword(key, "DriverVersion", 1);
    const std::string dll = context.m_driverFiles.ProcessorDLLName;

    EXPECT_TRUE(ApplyPendingUpdates(context, UPD_PROCESSOR, ProcessorFolderPath().c_str(), result));

    EXPECT_EQ(result, "");
    EXPECT_EQ(DwordValue(key, "DriverVersion"), 2);
    EXPECT_EQ(TextValue(key, "Driver"), "OLDPROC.DLL");
    EXPECT_EQ(ReadText(ProcessorFolderPath() + "\\" + dll), ReadText(folder.PathOf("W64\\" + dll)));
}

TEST_F(ComponentUpdates, AProcessorMissingFromThePackageFailsWithItsSource)
{
    As64BitWindows system;
    InstallContext& context = Prepare("LPT1:");
    const std::string key = ProcessorKeyPath(7, kProcessor);
    SetDword(key, "DriverVersion", 1);
    const std::string dll = context.m_driverFiles.ProcessorDLLName;
    ::DeleteFileA(folder.PathOf("W64\\" + dll).c_str());

    EXPECT_FALSE(ApplyPendingUpdates(context, UPD_PROCESSOR, ProcessorFolderPath().c_str(), result));

    EXPECT_EQ(result, g_langMsg.GetText("IDS_ERR_COPYFIEL") + folder.PathOf("W64\\" + dll));
    EXPECT_EQ(DwordValue(key, "DriverVersion"), 1);
}

TEST_F(ComponentUpdates, AMonitorCopyFailureEndsTheUpdate)
{
    RegisterUnloaded(kComMonitor, "TVCOMMON.DLL", 1);
    InstallContext& context = Prepare("COM1:");
    ::DeleteFileA(folder.PathOf("W32\\TVCOMMON.DLL").c_str());

    EXPECT_FALSE(ApplyPendingUpdates(context, UPD_COM_MONITOR, "", result));

    EXPECT_EQ(result.rfind(g_langMsg.GetText("IDS_ERR_COPYFIEL") + "TVCOMMON.DLL\n", 0), 0u) << result;
    EXPECT_EQ(DwordValue(MonitorKey(kComMonitor), "DriverVersion"), 1);
}

TEST_F(ComponentUpdates, TheLanguageMonitorIsReplacedWhileTheSpoolerRuns)
{
    for (bool inUse : {false, true}) {
        SCOPED_TRACE(inUse ? "in use" : "not loaded");
        SystemChanges undo;
        InstallContext& context = Prepare("USB_QMT-K410_1");
        if (inUse)
            ASSERT_EQ(CheckLanguageMonitor(context, 7, "USB_QMT-K410_1", result), 0) << result;
        else
            RegisterUnloaded(kLanguageMonitor, "OLDLMON.DLL", 1);
        SetDword(MonitorKey(kLanguageMonitor), "DriverVersion", 1);

        EXPECT_TRUE(ApplyLanguageMonitorUpdate(context, result));

        EXPECT_EQ(result, "");
        EXPECT_EQ(TextValue(MonitorKey(kLanguageMonitor), "Driver"), inUse ? "nTVLMON.DLL" : "TVLMON.DLL");
        EXPECT_EQ(DwordValue(MonitorKey(kLanguageMonitor), "DriverVersion"), 3);
    }
}

// ---------------------------------------------------------------------------
// Windows 98/Me: no service control; keys made when missing.

class Windows98Updates : public Components {
protected:
    // Holds the system folder's file open without sharing, as Windows 98
    // holds a loaded DLL.
    FileHandle Lock(const std::string& name)
    {
        const std::string path = SystemFolderPath() + "\\" + name;
        ::CopyFileA(folder.PathOf("W32\\TVUSB9X.DLL").c_str(), path.c_str(), TRUE);
        return FileHandle(::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    }
};

TEST_F(Windows98Updates, TheUsbMonitorGetsItsKeyTheDllAndTheVersion)
{
    const struct {
        const char* what;
        int locks; // 0 none, 1 the DLL, 2 the DLL and its "n" name
        bool expected;
        const char* driver;
    } cases[] = {
        {"free", 0, true, "TVUSB9X.DLL"},
        {"DLL in use", 1, true, "nTVUSB9X.DLL"},
        {"both names in use", 2, false, "<none>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SystemChanges undo;
        InstallContext& context = Prepare("USB_QMT-K410_1", 0);
        ASSERT_FALSE(KeyExists(MonitorKey(kUsbMonitor)));
        FileHandle plain = c.locks >= 1 ? Lock("TVUSB9X.DLL") : FileHandle();
        FileHandle renamed = c.locks >= 2 ? Lock("nTVUSB9X.DLL") : FileHandle();

        EXPECT_EQ(ApplyPendingUpdates(context, UPD_USB_MONITOR | UPD_PROCESSOR, "", result), c.expected);

        EXPECT_TRUE(KeyExists(MonitorKey(kUsbMonitor)));
        EXPECT_EQ(TextValue(MonitorKey(kUsbMonitor), "Driver"), c.driver);
        EXPECT_EQ(DwordValue(MonitorKey(kUsbMonitor), "DriverVersion"), c.expected ? 1 : -1);
        EXPECT_EQ(result, c.expected ? "" : g_langMsg.GetText("IDS_ERR_NEEDRESTART"));
        // The processor waits for another installation.
        EXPECT_FALSE(KeyExists(ProcessorKeyPath(0, kProcessor)));
    }
}

TEST_F(Windows98Updates, TheProcessorGetsItsKeyInTheWindows98Environment)
{
    InstallContext& context = Prepare("LPT1:", 0);
    const std::string dll = context.m_driverFiles.ProcessorDLLName;

    EXPECT_TRUE(ApplyPendingUpdates(context, UPD_PROCESSOR, "", result));

    const std::string key = ProcessorKeyPath(0, kProcessor);
    EXPECT_EQ(TextValue(key, "Driver"), dll);
    EXPECT_EQ(DwordValue(key, "DriverVersion"), 2);
    EXPECT_TRUE(FileExists(ProcessorFolderPath() + "\\" + dll));
}

} // namespace
