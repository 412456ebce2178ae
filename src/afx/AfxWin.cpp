#include "afx/AfxWin.h"

#include "platform/PlatformApi.h"

#include <cstring>

namespace {

CWinApp* g_app = nullptr;
HINSTANCE g_resources = nullptr;

std::string ModuleBaseName()
{
    char path[1024] = {};
    DWORD len = g_platformApi.getModuleFileName(nullptr, path, sizeof(path));
    if (len == 0 || len >= sizeof(path))
        return "DriverSetup";
    path[len] = '\0';
    const char* name = std::strrchr(path, '\\');
    name = name != nullptr ? name + 1 : path;
    std::string base(name);
    size_t dot = base.rfind('.');
    if (dot != std::string::npos)
        base.erase(dot);
    return base;
}

} // namespace

CWinApp::CWinApp() : m_appName(ModuleBaseName())
{
    m_pszAppName = m_appName.c_str();
    g_app = this;
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return 0;
}

CWinApp* AfxGetApp()
{
    return g_app;
}

int AfxMessageBox(const char* text, UINT type, UINT /*helpId*/)
{
    if ((type & MB_ICONMASK) == 0) {
        switch (type & MB_TYPEMASK) {
        case MB_OK:
        case MB_OKCANCEL:
            type |= MB_ICONEXCLAMATION;
            break;
        case MB_YESNO:
        case MB_YESNOCANCEL:
            type |= MB_ICONQUESTION;
            break;
        default:
            break;
        }
    }
    CWinApp* app = AfxGetApp();
    const char* caption = app != nullptr ? app->m_pszAppName : "";
    return ::MessageBoxA(nullptr, text, caption, type);
}

HINSTANCE AfxGetResourceHandle()
{
    if (g_resources != nullptr)
        return g_resources;
    if (g_app != nullptr && g_app->m_hInstance != nullptr)
        return g_app->m_hInstance;
    return ::GetModuleHandleA(nullptr);
}

void AfxSetResourceHandle(HINSTANCE resources)
{
    g_resources = resources;
}

int AfxWinMain(HINSTANCE instance)
{
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return 1;
    app->m_hInstance = instance;
    // Every path of InitInstance ends the program; there is no message loop.
    app->InitInstance();
    return app->ExitInstance();
}
