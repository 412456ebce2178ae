// Starting the maker's USB driver installer: the stand-in Install.exe of the
// setup folder really runs (it records its parameters in Install.log and, for
// "2", installs the packaged driver into the system's drivers folder). A
// recorder in front of the program starter sees every start, also the ones
// that must not happen, without waiting; the running system's version comes
// through the platform seam where Wine cannot report it.

#include "ports/UsbDriverInstall.h"

#include "afx/AfxWin.h"
#include "ports/UsbDriverVersion.h"
#include "support/MessageBoxCatcher.h"
#include "support/ScopedPlatformApi.h"
#include "support/ScopedPortsApi.h"
#include "support/ScopedWow64Flag.h"
#include "support/SetupFolder.h"
#include "support/SimulatedUsb.h"

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct Start {
    std::string verb;
    std::string file;
    std::string parameters;
    bool hasFolder;
    int show;
};

std::vector<Start> g_starts;
std::vector<HANDLE> g_processes;
std::vector<DWORD> g_waits;

// Starts the program as ShellExecuteA would, keeping its process to wait for.
HINSTANCE WINAPI RecordingShellExecute(HWND window, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR folder,
                                       INT show)
{
    g_starts.push_back({verb != nullptr ? verb : "", file != nullptr ? file : "",
                        parameters != nullptr ? parameters : "", folder != nullptr, show});
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.hwnd = window;
    info.lpVerb = verb;
    info.lpFile = file;
    info.lpParameters = parameters;
    info.lpDirectory = folder;
    info.nShow = show;
    ::ShellExecuteExA(&info);
    if (info.hProcess != nullptr)
        g_processes.push_back(info.hProcess);
    return info.hInstApp;
}

void WINAPI RecordingSleep(DWORD milliseconds)
{
    g_waits.push_back(milliseconds);
}

OSVERSIONINFOEXA g_version;

BOOL WINAPI FakeGetVersionEx(LPOSVERSIONINFOA info)
{
    const DWORD size = info->dwOSVersionInfoSize;
    std::memcpy(info, &g_version, size < sizeof(g_version) ? size : sizeof(g_version));
    info->dwOSVersionInfoSize = size;
    return TRUE;
}

class UsbDriverInstallTest : public testing::Test {
protected:
    void SetUp() override
    {
        g_platformApi.sleep = RecordingSleep;
        g_portsApi.shellExecute = RecordingShellExecute;
        g_starts.clear();
        g_waits.clear();
        m_folder.Language({{"Message", "IDS_ERR_CLASSPRINTERIDERROR"}, {"Message", "IDS_ERR_HARDWAREIDNULL"}});
    }

    void TearDown() override { WaitForInstallers(); }

    // Waits until every installer started so far has ended.
    static void WaitForInstallers()
    {
        for (HANDLE process : g_processes) {
            EXPECT_EQ(::WaitForSingleObject(process, 20000), WAIT_OBJECT_0);
            ::CloseHandle(process);
        }
        g_processes.clear();
    }

    static std::string DriverFolder(bool wow64) { return wow64 ? "USBDRV\\USBDriver_x64\\" : "USBDRV\\USBDriver\\"; }

    // The packaged USB driver folder of the demo package.
    void PackageDriverFolder(bool wow64) const
    {
        for (const char* file : {"Install.exe", "TVPUSB.sys", "TVPUSB.INF"})
            CopyPackageFiles(m_folder, {DriverFolder(wow64) + file});
    }

    std::vector<std::string> InstallerRecord(bool wow64) const
    {
        return ReadLines(m_folder.PathOf(DriverFolder(wow64) + "Install.log"));
    }

    ScopedPlatformApi m_api;
    ScopedPortsApi m_ports;
    CWinApp m_app;
    SetupFolder m_folder;
};

} // namespace

TEST_F(UsbDriverInstallTest, UpdateRunsTheInstallerWithTwoWhenThePackagedDriverIsNewer)
{
    for (bool wow64 : {false, true}) {
        SCOPED_TRACE(wow64 ? "64-bit" : "32-bit");
        ScopedWow64Flag flag(wow64);
        PackageDriverFolder(wow64);
        InstalledUsbDriver installed(StandinBuildFile("TVPUSB-2.0.1.4.sys"));
        g_starts.clear();
        g_waits.clear();

        UpdateUsbDriver();

        ASSERT_EQ(g_starts.size(), 1u);
        EXPECT_EQ(g_starts[0].verb, "open");
        EXPECT_EQ(g_starts[0].file, m_folder.PathOf(DriverFolder(wow64) + "Install.exe"));
        EXPECT_EQ(g_starts[0].parameters, "2");
        EXPECT_FALSE(g_starts[0].hasFolder);
        EXPECT_EQ(g_starts[0].show, SW_SHOWNORMAL);
        EXPECT_EQ(g_waits, (std::vector<DWORD>{500, 1000, 2000}));
        WaitForInstallers();
        EXPECT_EQ(InstallerRecord(wow64), std::vector<std::string>{"2"});

        // The installer put the packaged driver in place: nothing more to do.
        {
            // Read natively: Wine's 64-bit process cannot switch the redirection off.
            ScopedWow64Flag native(false);
            EXPECT_EQ(ReadInstalledUsbDriverVersion(), "2.0.1.5");
        }
        g_starts.clear();
        UpdateUsbDriver();
        EXPECT_TRUE(g_starts.empty());
    }
}

TEST_F(UsbDriverInstallTest, UpdateRunsTheInstallerOnlyWhenTheComparisonSaysSo)
{
    ScopedWow64Flag flag(false);
    const struct Case {
        const char* what;
        bool packaged;
        std::string installed;
        bool started;
    } cases[] = {
        {"none installed", true, "", true},
        {"older installed", true, StandinBuildFile("TVPUSB-2.0.1.4.sys"), true},
        {"same installed", true, BuildFolder() + "package\\USBDRV\\USBDriver_x64\\TVPUSB.sys", false},
        {"newer installed", true, StandinBuildFile("TVPUSB-2.0.10.0.sys"), false},
        {"not packaged", false, StandinBuildFile("TVPUSB-2.0.1.4.sys"), false},
        {"neither", false, "", false},
    };
    for (const auto& c : cases) {
        SetupFolder folder;
        if (c.packaged) {
            for (const char* file : {"Install.exe", "TVPUSB.sys", "TVPUSB.INF"})
                CopyPackageFiles(folder, {DriverFolder(false) + file});
        }
        InstalledUsbDriver installed(c.installed);
        g_starts.clear();
        g_waits.clear();
        UpdateUsbDriver();
        EXPECT_EQ(g_starts.size(), c.started ? 1u : 0u) << c.what;
        EXPECT_EQ(g_waits.size(), c.started ? 3u : 0u) << c.what;
        WaitForInstallers();
    }
}

TEST_F(UsbDriverInstallTest, UpdateNeverRunsOnWindows98MeOrNt4)
{
    ScopedWow64Flag flag(false);
    PackageDriverFolder(false);
    InstalledUsbDriver none;
    g_platformApi.getVersionEx = FakeGetVersionEx;
    const struct Case {
        const char* what;
        DWORD platform;
        DWORD major;
        DWORD minor;
        bool started;
    } cases[] = {
        {"Windows 98", VER_PLATFORM_WIN32_WINDOWS, 4, 10, false},
        {"Windows Me", VER_PLATFORM_WIN32_WINDOWS, 4, 90, false},
        {"Windows NT 4.0", VER_PLATFORM_WIN32_NT, 4, 0, false},
        {"Windows 2000", VER_PLATFORM_WIN32_NT, 5, 0, true},
        {"Windows XP", VER_PLATFORM_WIN32_NT, 5, 1, true},
        {"Windows Vista", VER_PLATFORM_WIN32_NT, 6, 0, true},
    };
    for (const auto& c : cases) {
        g_version = {};
        g_version.dwOSVersionInfoSize = sizeof(g_version);
        g_version.dwPlatformId = c.platform;
        g_version.dwMajorVersion = c.major;
        g_version.dwMinorVersion = c.minor;
        g_version.wProductType = VER_NT_WORKSTATION;
        g_starts.clear();
        UpdateUsbDriver();
        EXPECT_EQ(g_starts.size(), c.started ? 1u : 0u) << c.what;
        WaitForInstallers();
        ::DeleteFileA(InstalledUsbDriver::Path().c_str());
    }
}

TEST_F(UsbDriverInstallTest, UpdateMakesThePackagedFilesWritableFirst)
{
    ScopedWow64Flag flag(false);
    PackageDriverFolder(false);
    InstalledUsbDriver none;
    for (const char* file : {"TVPUSB.sys", "TVPUSB.INF"})
        ASSERT_TRUE(::SetFileAttributesA(m_folder.PathOf(DriverFolder(false) + file).c_str(),
                                         FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    UpdateUsbDriver();
    ASSERT_EQ(g_starts.size(), 1u);
    for (const char* file : {"TVPUSB.sys", "TVPUSB.INF"})
        EXPECT_EQ(::GetFileAttributesA(m_folder.PathOf(DriverFolder(false) + file).c_str()),
                  static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE))
            << file;
}

namespace {

class UsbClassDriverTest : public UsbDriverInstallTest {
protected:
    void SetUp() override
    {
        UsbDriverInstallTest::SetUp();
        CopyPackageFiles(m_folder, {"USBPrintDll.dll", "USBDRV\\USBDriver\\Install.exe",
                                    "USBDRV\\USBDriver_x64\\Install.exe"});
        m_folder.Write("UsbPrinters.txt", "0 0x0001 QMT-K410 2\n");
        Setup("USBCLASSPRINTER", "QMT-K410(U)2", "USB\\VID_7A3D&PID_1006");
    }

    void Setup(const std::string& section, const std::string& key, const std::string& value) const
    {
        m_folder.Set("DRVCONFIG\\setup.ini", section, key, value);
    }

    // InstallUsbClassDriver's result and its message boxes.
    int Install(const std::string& model, std::vector<std::string>& boxes)
    {
        MessageBoxCatcher catcher;
        int result = InstallUsbClassDriver(model.c_str());
        for (const CaughtMessageBox& box : catcher.Boxes())
            boxes.push_back(box.text);
        return result;
    }
};

} // namespace

TEST_F(UsbClassDriverTest, RunsTheInstallerWithTheQuotedInfPathAndTheHardwareId)
{
    ScopedWow64Flag flag(false);
    Setup("DEVICENAME", "Inffilename", "POS");
    std::vector<std::string> boxes;
    EXPECT_EQ(Install("QMT-K410", boxes), kUsbClassInstallStarted);
    EXPECT_TRUE(boxes.empty());

    const std::string expected = " 3 \"" + m_folder.PathOf("W32\\POS32.inf") + "\" USB\\VID_7A3D&PID_1006 0";
    ASSERT_EQ(g_starts.size(), 1u);
    EXPECT_EQ(g_starts[0].verb, "open");
    EXPECT_EQ(g_starts[0].file, m_folder.PathOf("USBDRV\\USBDriver\\Install.exe"));
    EXPECT_EQ(g_starts[0].parameters, expected);
    EXPECT_FALSE(g_starts[0].hasFolder);
    EXPECT_EQ(g_starts[0].show, SW_SHOWNORMAL);
    // The installer received the command line as it was given.
    WaitForInstallers();
    EXPECT_EQ(InstallerRecord(false), std::vector<std::string>{expected});
    EXPECT_TRUE(g_waits.empty());
}

TEST_F(UsbClassDriverTest, ChoosesThePrinterDriversInf)
{
    const struct Case {
        const char* what;
        const char* value; // nullptr: no key
        bool wow64;
        const char* inf;
    } cases[] = {
        {"a base name, 32-bit", "POS", false, "W32\\POS32.inf"},
        {"a base name, 64-bit", "POS", true, "W64\\POS64.inf"},
        {"errata", "errata", false, "W32\\Setup.inf"},
        {"err", "err", true, "W64\\Setup.inf"},
        {"empty", "", false, "W32\\Setup.inf"},
        {"no key", nullptr, false, "W32\\Setup.inf"},
        // Only the lower-case "err" means none.
        {"ERRATA", "ERRATA", false, "W32\\ERRATA32.inf"},
    };
    for (const auto& c : cases) {
        ScopedWow64Flag flag(c.wow64);
        if (c.value != nullptr)
            Setup("DEVICENAME", "Inffilename", c.value);
        else
            ::WritePrivateProfileStringA("DEVICENAME", "Inffilename", nullptr,
                                         m_folder.PathOf("DRVCONFIG\\setup.ini").c_str());
        g_starts.clear();
        std::vector<std::string> boxes;
        EXPECT_EQ(Install("QMT-K410", boxes), kUsbClassInstallStarted) << c.what;
        ASSERT_EQ(g_starts.size(), 1u) << c.what;
        EXPECT_EQ(g_starts[0].file,
                  m_folder.PathOf(c.wow64 ? "USBDRV\\USBDriver_x64\\Install.exe" : "USBDRV\\USBDriver\\Install.exe"))
            << c.what;
        EXPECT_EQ(g_starts[0].parameters,
                  " 3 \"" + m_folder.PathOf(c.inf) + "\" USB\\VID_7A3D&PID_1006 0")
            << c.what;
    }
}

TEST_F(UsbClassDriverTest, TakesTheHardwareIdOfThePrintersPortNumber)
{
    Setup("USBCLASSPRINTER", "QMT-K410(U)2", "USB\\VID_7A3D&PID_1002");
    Setup("USBCLASSPRINTER", "QMT-K410(U)3", "USB\\VID_7A3D&PID_1003");
    for (const char* port : {"2", "3"}) {
        m_folder.Write("UsbPrinters.txt", std::string("0 0x0001 QMT-K410 ") + port + "\n");
        g_starts.clear();
        std::vector<std::string> boxes;
        EXPECT_EQ(Install("QMT-K410", boxes), kUsbClassInstallStarted);
        ASSERT_EQ(g_starts.size(), 1u);
        const std::string& parameters = g_starts[0].parameters;
        EXPECT_EQ(parameters.substr(parameters.rfind("\" ") + 2), std::string("USB\\VID_7A3D&PID_100") + port + " 0");
    }
}

TEST_F(UsbClassDriverTest, RefusesWithTheTextsOfTheLanguageFile)
{
    const std::string noNumber = "Message/IDS_ERR_CLASSPRINTERIDERROR";
    const std::string noId = "Message/IDS_ERR_HARDWAREIDNULL";
    const struct Case {
        const char* what;
        std::string list;
        const char* hardwareId; // nullptr: no key
        std::vector<std::string> boxes;
    } cases[] = {
        {"model not listed", "0 1 QMT-K520 2\n", "USB\\VID_7A3D&PID_1006", {noNumber}},
        {"port number 5", "0 1 QMT-K410 5\n", "USB\\VID_7A3D&PID_1006", {noNumber}},
        {"no port number", "0 1 QMT-K410 0\n", "USB\\VID_7A3D&PID_1006", {noNumber}},
        {"malformed printer list", "QMT-K410 2\n", "USB\\VID_7A3D&PID_1006", {noNumber}},
        {"no hardware id", "0 1 QMT-K410 2\n", nullptr, {noId}},
        {"hardware id ERR", "0 1 QMT-K410 2\n", "ERR", {noId}},
        {"hardware id ERROR", "0 1 QMT-K410 2\n", "ERROR: none", {noId}},
        {"empty hardware id", "0 1 QMT-K410 2\n", "", {noId}},
    };
    for (const auto& c : cases) {
        m_folder.Write("UsbPrinters.txt", c.list);
        if (c.hardwareId != nullptr)
            Setup("USBCLASSPRINTER", "QMT-K410(U)2", c.hardwareId);
        else
            ::WritePrivateProfileStringA("USBCLASSPRINTER", "QMT-K410(U)2", nullptr,
                                         m_folder.PathOf("DRVCONFIG\\setup.ini").c_str());
        g_starts.clear();
        std::vector<std::string> boxes;
        EXPECT_EQ(Install("QMT-K410", boxes), 0) << c.what;
        EXPECT_EQ(boxes, c.boxes) << c.what;
        EXPECT_TRUE(g_starts.empty()) << c.what;
    }
}

TEST_F(UsbClassDriverTest, AMissingPrintDllIsShownBeforeTheRefusal)
{
    ASSERT_TRUE(::DeleteFileA(m_folder.PathOf("USBPrintDll.dll").c_str()));
    std::vector<std::string> boxes;
    EXPECT_EQ(Install("QMT-K410", boxes), 0);
    EXPECT_EQ(boxes, (std::vector<std::string>{"load library failed!", "Message/IDS_ERR_CLASSPRINTERIDERROR"}));
    EXPECT_TRUE(g_starts.empty());
}

TEST_F(UsbClassDriverTest, LongAndOddModelNamesFindTheirKeys)
{
    const std::string longModel = "QMT-" + std::string(180, 'L');
    for (const std::string& model : {longModel, std::string("QMT@K410")}) {
        m_folder.Write("UsbPrinters.txt", "0 1 " + model + " 4\n");
        Setup("USBCLASSPRINTER", model + "(U)4", "USB\\VID_7A3D&PID_1004");
        g_starts.clear();
        std::vector<std::string> boxes;
        EXPECT_EQ(Install(model, boxes), kUsbClassInstallStarted) << model;
        EXPECT_TRUE(boxes.empty()) << model;
        ASSERT_EQ(g_starts.size(), 1u) << model;
        EXPECT_NE(g_starts[0].parameters.find("\" USB\\VID_7A3D&PID_1004 0"), std::string::npos) << model;
    }
}

// A failed start is not reported: the wizard ends all the same.
TEST_F(UsbClassDriverTest, AnInstallerThatCannotStartIsNotReported)
{
    ScopedWow64Flag flag(false);
    ASSERT_TRUE(::DeleteFileA(m_folder.PathOf("USBDRV\\USBDriver\\Install.exe").c_str()));
    std::vector<std::string> boxes;
    EXPECT_EQ(Install("QMT-K410", boxes), kUsbClassInstallStarted);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(g_starts.size(), 1u);
}
