#include "app/SetupApp.h"

#include "platform/Wow64.h"
#include "support/MessageBoxCatcher.h"
#include "support/ScopedPlatformApi.h"
#include "support/SetupFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// The start-up checks of a real run, with the wizard replaced by a counter.
class RecordingApp : public CSetupApp {
public:
    int wizardRuns = 0;

protected:
    void RunWizard() override { ++wizardRuns; }
};

OSVERSIONINFOA g_fakeVersion;
bool g_fakeWow64 = false;

BOOL WINAPI FakeGetVersionEx(LPOSVERSIONINFOA info)
{
    DWORD size = info->dwOSVersionInfoSize;
    std::memcpy(info, &g_fakeVersion, sizeof(g_fakeVersion));
    info->dwOSVersionInfoSize = size;
    return TRUE;
}

BOOL WINAPI FakeIsWow64Process(HANDLE, PBOOL wow64)
{
    *wow64 = g_fakeWow64;
    return TRUE;
}

FARPROC WINAPI FakeGetProcAddress(HMODULE module, LPCSTR name)
{
    if (std::strcmp(name, "IsWow64Process") == 0)
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(FakeIsWow64Process));
    return ::GetProcAddress(module, name);
}

// A top-level window with a given title, as another program would show it.
class TitledWindow {
public:
    explicit TitledWindow(const wchar_t* title, bool minimised = false)
        : m_window(::CreateWindowExW(0, L"STATIC", title,
                                     WS_OVERLAPPEDWINDOW | (minimised ? WS_MINIMIZE : 0), 0, 0, 200,
                                     100, nullptr, nullptr, nullptr, nullptr))
    {
        ::ShowWindow(m_window, minimised ? SW_SHOWMINNOACTIVE : SW_SHOWNOACTIVATE);
    }
    ~TitledWindow() { ::DestroyWindow(m_window); }
    HWND Get() const { return m_window; }

private:
    HWND m_window;
};

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_api.reset(new ScopedPlatformApi);
        g_platformApi.getVersionEx = FakeGetVersionEx;
        g_platformApi.getProcAddress = FakeGetProcAddress;
        SetVersion(VER_PLATFORM_WIN32_NT, 6, 1);
        g_fakeWow64 = false;
        g_bWow64 = false;
        WriteTestLanguage();
    }
    void TearDown() override
    {
        m_api.reset();
        g_bWow64 = false;
    }

    // Texts "<section>/<key>" for the refusals.
    void WriteTestLanguage()
    {
        folder.Language({{"Setup", "Close"}, {"Setup", "Nonsupport"}, {"Setup", "PortNull"},
                         {"Message", "IDS_X64"}, {"Message", "IDS_X32"}});
    }

    // The demo package's configuration with the test's texts.
    void UseDemoPackage()
    {
        folder.CopyDemoPackage();
        WriteTestLanguage();
    }

    static void SetVersion(DWORD platform, DWORD major, DWORD minor)
    {
        g_fakeVersion = {};
        g_fakeVersion.dwPlatformId = platform;
        g_fakeVersion.dwMajorVersion = major;
        g_fakeVersion.dwMinorVersion = minor;
    }

    // Port section keys of a model in one category file, for both architectures.
    void Ports(const std::string& model, const char* file, const char* key, const char* value = "1")
    {
        for (const char* suffix : {".ini", "_64.ini"})
            folder.Set(std::string("DRVCONFIG\\") + file + suffix, model + ".PORT", key, value);
    }

    // Runs the start-up checks; returns the texts of the message boxes shown.
    std::vector<std::string> Start(RecordingApp& app)
    {
        MessageBoxCatcher catcher;
        EXPECT_FALSE(app.InitInstance());
        std::vector<std::string> texts;
        for (const CaughtMessageBox& box : catcher.Boxes()) {
            EXPECT_EQ(box.caption, "DriverSetup");
            texts.push_back(box.text);
        }
        return texts;
    }

    // Expects exactly one refusal with the text of section/key (the test
    // language file's texts are "<section>/<key>").
    void ExpectRefusal(const std::string& text)
    {
        RecordingApp app;
        EXPECT_EQ(Start(app), std::vector<std::string>{text});
        EXPECT_EQ(app.wizardRuns, 0);
    }

    void ExpectWizard()
    {
        RecordingApp app;
        EXPECT_EQ(Start(app), std::vector<std::string>{});
        EXPECT_EQ(app.wizardRuns, 1);
    }

    SetupFolder folder;

private:
    std::unique_ptr<ScopedPlatformApi> m_api;
};

} // namespace

TEST_F(StartupTest, TheDemoPackagePassesEveryCheck)
{
    UseDemoPackage();
    ExpectWizard();
    g_fakeWow64 = true;
    ExpectWizard();
    EXPECT_TRUE(g_bWow64);
}

TEST_F(StartupTest, ChecksRunInTheirOrder)
{
    // Every condition refuses at once; removing them one by one shows the
    // next refusal in turn.
    folder.Catalogue({"QMT-K410-ReceiptPrinter"});
    folder.Set("DRVCONFIG\\setup.ini", "DEVICENAME", "Supported32OR64", "2");
    SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    {
        TitledWindow uninstaller(L"Uninstall");
        ExpectRefusal("Setup/Close");
    }
    ExpectRefusal("Setup/Nonsupport");
    SetVersion(VER_PLATFORM_WIN32_NT, 5, 1);
    ExpectRefusal("Message/IDS_X32");
    folder.Set("DRVCONFIG\\setup.ini", "DEVICENAME", "Supported32OR64", "0");
    ExpectRefusal("Setup/PortNull");
    Ports("QMT-K410", "setup_receipt", "LPTSUPPORTED");
    ExpectWizard();
}

TEST_F(StartupTest, SecondCopyBringsTheRunningWizardToTheFrontWithoutAMessage)
{
    UseDemoPackage();
    const wchar_t* const titles[] = {L"Printer Driver Setup",
                                     L"\u6253\u5370\u673A\u9A71\u52A8\u5B89\u88C5\u7A0B\u5E8F"};
    for (const wchar_t* title : titles) {
        KernelHandle running(::CreateMutexA(nullptr, TRUE, "DriverSetup"));
        TitledWindow wizard(title, true);
        ASSERT_TRUE(::IsIconic(wizard.Get()));
        RecordingApp app;
        EXPECT_EQ(Start(app), std::vector<std::string>{});
        EXPECT_EQ(app.wizardRuns, 0);
        EXPECT_FALSE(::IsIconic(wizard.Get()));
    }
    // No wizard window to be found: the second copy ends silently.
    KernelHandle running(::CreateMutexA(nullptr, TRUE, "DriverSetup"));
    RecordingApp app;
    EXPECT_EQ(Start(app), std::vector<std::string>{});
    EXPECT_EQ(app.wizardRuns, 0);
}

TEST_F(StartupTest, TheMutexIsHeldWhileTheCopyRuns)
{
    UseDemoPackage();
    RecordingApp first;
    EXPECT_EQ(Start(first), std::vector<std::string>{});
    // The first copy's object still holds the mutex: a second start is a second copy.
    RecordingApp second;
    EXPECT_EQ(Start(second), std::vector<std::string>{});
    EXPECT_EQ(second.wizardRuns, 0);
}

TEST_F(StartupTest, RunningUninstallerIsRefused)
{
    UseDemoPackage();
    for (const wchar_t* title : {L"Uninstall", L"\u6253\u5370\u673A\u5378\u8F7D\u7A0B\u5E8F"}) {
        TitledWindow uninstaller(title);
        ExpectRefusal("Setup/Close");
    }
}

TEST_F(StartupTest, VersionGate)
{
    UseDemoPackage();
    struct Case {
        const char* system;
        DWORD platform;
        DWORD major;
        DWORD minor;
        bool refused;
    } cases[] = {
        {"Windows 95", VER_PLATFORM_WIN32_WINDOWS, 4, 0, false},
        {"Windows 98", VER_PLATFORM_WIN32_WINDOWS, 4, 10, true},
        {"Windows Me", VER_PLATFORM_WIN32_WINDOWS, 4, 90, true},
        {"Windows NT 4.0", VER_PLATFORM_WIN32_NT, 4, 0, true},
        {"Windows 2000", VER_PLATFORM_WIN32_NT, 5, 0, false},
        {"Windows XP", VER_PLATFORM_WIN32_NT, 5, 1, false},
        {"Windows 10", VER_PLATFORM_WIN32_NT, 6, 2, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.system);
        SetVersion(c.platform, c.major, c.minor);
        if (c.refused)
            ExpectRefusal("Setup/Nonsupport");
        else
            ExpectWizard();
    }
}

TEST_F(StartupTest, PackageArchitecture)
{
    UseDemoPackage();
    struct Case {
        const char* value;
        bool wow64;
        const char* refusal;
    } cases[] = {
        {"1", true, "Message/IDS_X64"}, {"2", false, "Message/IDS_X32"},
        {"1", false, nullptr},          {"2", true, nullptr},
        {"0", true, nullptr},           {"3", false, nullptr},
        {"3", true, nullptr},           {" 2 (64-bit)", false, "Message/IDS_X32"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.value) + (c.wow64 ? " on 64-bit" : " on 32-bit"));
        folder.Set("DRVCONFIG\\setup.ini", "DEVICENAME", "Supported32OR64", c.value);
        g_fakeWow64 = c.wow64;
        if (c.refusal != nullptr)
            ExpectRefusal(c.refusal);
        else
            ExpectWizard();
        EXPECT_EQ(g_bWow64, c.wow64);
    }
    // A missing key passes on both.
    folder.Write("DRVCONFIG\\setup.ini", "");
    folder.Catalogue({"QMT-K410-ReceiptPrinter"});
    for (bool wow64 : {false, true}) {
        g_fakeWow64 = wow64;
        ExpectWizard();
    }
}

TEST_F(StartupTest, OnlyTheLastCatalogueEntryIsCheckedForPorts)
{
    folder.Catalogue({"HAS-PORT-ReceiptPrinter", "NO-PORT-TicketPrinter"});
    Ports("HAS-PORT", "setup_receipt", "USBSUPPORTED");
    ExpectRefusal("Setup/PortNull");

    folder.Catalogue({"NO-PORT-TicketPrinter", "HAS-PORT-ReceiptPrinter"});
    ExpectWizard();
}

TEST_F(StartupTest, ThePortCheckSearchesAllFourCategoryFiles)
{
    // A receipt printer whose ports stand only in the embedded printers' file.
    folder.Catalogue({"QMT-K410-ReceiptPrinter"});
    for (const char* key : {"USBSUPPORTED", "LPTSUPPORTED", "COMSUPPORTED"}) {
        SCOPED_TRACE(key);
        for (const char* file : {"setup_receipt", "setup_ticket", "setup_label", "setup_embedded"})
            Ports("QMT-K410", file, key, "0");
        ExpectRefusal("Setup/PortNull");
        Ports("QMT-K410", "setup_embedded", key);
        ExpectWizard();
        Ports("QMT-K410", "setup_embedded", key, "0");
    }
    // NETSUPPORTED alone is no port for this check.
    Ports("QMT-K410", "setup_receipt", "NETSUPPORTED");
    ExpectRefusal("Setup/PortNull");
}

TEST_F(StartupTest, OnlyTheFilesOfTheRunningArchitectureAreRead)
{
    folder.Catalogue({"QMT-K410-ReceiptPrinter"});
    folder.Set("DRVCONFIG\\setup_receipt_64.ini", "QMT-K410.PORT", "USBSUPPORTED", "1");
    ExpectRefusal("Setup/PortNull");
    g_fakeWow64 = true;
    ExpectWizard();
}

TEST_F(StartupTest, LastEntryWithoutSuffixIsLookedUpByItsWholeValue)
{
    folder.Catalogue({"QMT-K410-ReceiptPrinter", "LEGACY"});
    Ports("LEGACY", "setup_label", "COMSUPPORTED");
    ExpectWizard();
    Ports("LEGACY", "setup_label", "COMSUPPORTED", "0");
    Ports("QMT-K410", "setup_receipt", "COMSUPPORTED");
    ExpectRefusal("Setup/PortNull");
}

TEST_F(StartupTest, ACatalogueWithoutModelsOffersNoPort)
{
    struct Case {
        const char* name;
        std::string setupIni;
    } cases[] = {
        {"no setup.ini", ""},
        {"no entries", "[DEVICENAME]\r\nDEVICENUMBER=0\r\nDEVICENAME1=A-ReceiptPrinter\r\n"},
        {"negative count", "[DEVICENAME]\r\nDEVICENUMBER=-4\r\n"},
        {"no entry has a suffix", "[DEVICENAME]\r\nDEVICENUMBER=2\r\nDEVICENAME1=A\r\nDEVICENAME2=B\r\n"},
        {"count without entries", "[DEVICENAME]\r\nDEVICENUMBER=3\r\n"},
    };
    // Ports for every name the catalogue could yield, so only the missing
    // model refuses.
    for (const char* model : {"A", "B", "0", ""})
        Ports(model, "setup_receipt", "USBSUPPORTED");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.setupIni.empty())
            ::DeleteFileA(folder.PathOf("DRVCONFIG\\setup.ini").c_str());
        else
            folder.Write("DRVCONFIG\\setup.ini", c.setupIni);
        ExpectRefusal("Setup/PortNull");
    }
}

TEST_F(StartupTest, NoConfigurationFolderAtAll)
{
    ExpectRefusal("Setup/PortNull");
}

TEST_F(StartupTest, MissingLanguageFileStillShowsTheRefusal)
{
    ::DeleteFileA(folder.PathOf("language\\setup.ini").c_str());
    ExpectRefusal("");
}

TEST_F(StartupTest, LongModelNamesAndValues)
{
    // A 199-character model name fills its buffer; the port section's name
    // is longer still.
    const std::string model(199, 'L');
    folder.Catalogue({model + "-ReceiptPrinter"});
    folder.Set("DRVCONFIG\\setup.ini", "DEVICENAME", "Supported32OR64", std::string(5000, '9'));
    Ports(model, "setup_label", "LPTSUPPORTED", std::string(3000, '5').c_str());
    // The suffix is cut off at 199 characters, so the entry has no category.
    ExpectRefusal("Setup/PortNull");

    const std::string fitting(180, 'F');
    folder.Catalogue({fitting + "-LabelPrinter"});
    Ports(fitting, "setup_label", "LPTSUPPORTED", std::string(3000, '5').c_str());
    ExpectWizard();
}

TEST_F(StartupTest, ASetupFolderTooDeepForTheConfigurationPathsIsRefusedClearly)
{
    // A folder of 175 characters leaves no room for the longest configuration
    // file's name in a 200-byte path.
    SetupFolder deep(190);
    deep.Language({{"Setup", "PortNull"}});
    RecordingApp app;
    EXPECT_EQ(Start(app), std::vector<std::string>{kFolderTooLongText});
    EXPECT_EQ(app.wizardRuns, 0);
}
