#include "app/SetupApp.h"

#include "config/DriverConfig.h"
#include "config/LangText.h"
#include "config/SetupIni.h"
#include "platform/PlatformApi.h"
#include "platform/ProgramFolder.h"
#include "platform/Wow64.h"

#include <windows.h>

const char* const kFolderTooLongText =
    "The setup folder's path is too long. Copy the setup folder to a folder with a shorter path "
    "and start the setup again.";

namespace {

void ShowLangMessage(const char* section, const char* key)
{
    CLangText text(section);
    AfxMessageBox(text.GetText(key).c_str(), MB_OK);
}

HWND FindTopLevelWindow(const char* englishTitle, const wchar_t* chineseTitle)
{
    HWND window = ::FindWindowA(nullptr, englishTitle);
    // The Chinese title is looked for in Unicode so that it is found whatever
    // the system's ANSI code page.
    if (window == nullptr)
        window = ::FindWindowW(nullptr, chineseTitle);
    return window;
}

// Every configuration file must fit the 200-byte path buffers of the readers;
// the longest is the 64-bit embedded printers' file.
bool SetupFolderPathFits()
{
    char path[kConfigTextSize];
    return BuildProgramFilePath("DRVCONFIG\\setup_embedded_64.ini", path);
}

} // namespace

CSetupApp::CSetupApp() = default;
CSetupApp::~CSetupApp() = default;

int CSetupApp::ReadConfigInt(const char* file, const char* section, const char* key)
{
    return ::ReadConfigInt(file, section, key);
}

int CSetupApp::IsWow64()
{
    return ::IsWow64();
}

int CSetupApp::ExitInstance()
{
    return CWinApp::ExitInstance();
}

BOOL CSetupApp::InitInstance()
{
    AfxEnableControlContainer();

    m_instanceMutex.Reset(::CreateMutexA(nullptr, TRUE, m_pszAppName));
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        BringRunningWizardToFront();
        return FALSE;
    }
    if (UninstallerRunning()) {
        ShowLangMessage("Setup", "Close");
        return FALSE;
    }
    if (WindowsVersionRefused()) {
        ShowLangMessage("Setup", "Nonsupport");
        return FALSE;
    }

    g_bWow64 = IsWow64() != 0;

    if (!SetupFolderPathFits()) {
        AfxMessageBox(kFolderTooLongText, MB_OK);
        return FALSE;
    }
    if (PackageArchitectureRefused())
        return FALSE;
    if (!CatalogueOffersAPort()) {
        ShowLangMessage("Setup", "PortNull");
        return FALSE;
    }

    RunWizard();
    return FALSE;
}

void CSetupApp::RunWizard()
{
    // Start-up ends after its checks until the wizard's frame and pages exist.
}

bool CSetupApp::BringRunningWizardToFront()
{
    HWND wizard = FindTopLevelWindow("Printer Driver Setup",
                                     L"\u6253\u5370\u673A\u9A71\u52A8\u5B89\u88C5\u7A0B\u5E8F");
    if (wizard == nullptr)
        return false;
    ::SetForegroundWindow(wizard);
    if (::IsIconic(wizard))
        ::OpenIcon(wizard);
    return true;
}

bool CSetupApp::UninstallerRunning()
{
    return FindTopLevelWindow("Uninstall", L"\u6253\u5370\u673A\u5378\u8F7D\u7A0B\u5E8F") != nullptr;
}

bool CSetupApp::WindowsVersionRefused()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    g_platformApi.getVersionEx(&version);
    // Windows 98 and Me; Windows 95 (4.0) passes.
    if (version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && version.dwMinorVersion != 0)
        return true;
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion == 4
        && version.dwMinorVersion == 0;
}

bool CSetupApp::PackageArchitectureRefused()
{
    int supported = ReadConfigInt(kSetupIniName, kCatalogueSection, "Supported32OR64");
    if (supported == 1 && g_bWow64) {
        AfxMessageBox(g_langMsg.GetText("IDS_X64").c_str(), MB_OK);
        return true;
    }
    if (supported == 2 && !g_bWow64) {
        AfxMessageBox(g_langMsg.GetText("IDS_X32").c_str(), MB_OK);
        return true;
    }
    return false;
}

bool CSetupApp::CatalogueOffersAPort()
{
    CDriverConfig config;
    char name[kConfigTextSize] = {};
    bool anyModel = false;
    const int count = config.GetDeviceCount();
    // Only the last entry counts: each call overwrites the name.
    for (int n = 1; n <= count; ++n) {
        if (config.GetDeviceName(n, name) >= 0)
            anyModel = true;
    }
    // A catalogue without models has no port to offer.
    if (!anyModel)
        return false;

    const std::string section = std::string(name) + ".PORT";
    for (int category = 0; category < kCategoryCount; ++category) {
        const char* file = CategoryIniName(category, g_bWow64);
        for (const char* key : {"USBSUPPORTED", "LPTSUPPORTED", "COMSUPPORTED"}) {
            if (ReadConfigInt(file, section.c_str(), key) != 0)
                return true;
        }
    }
    return false;
}
