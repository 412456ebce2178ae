#pragma once
// The program's thin application layer: the application object and its entry,
// and the application message box. Names follow the class library the wizard
// was designed against.

#include <windows.h>

#include <string>

class CWnd;

class CWinApp {
public:
    // The one application object of the process registers itself here. The
    // application name is the executable's file name without its extension.
    CWinApp();
    virtual ~CWinApp();

    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance();
    virtual int ExitInstance();

    const char* m_pszAppName;
    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;

private:
    std::string m_appName;
};

CWinApp* AfxGetApp();

// Message box with the application name as caption. A box without an icon of
// its own gets the exclamation icon (OK, OK/Cancel) or the question icon
// (Yes/No).
int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);

// Nothing to prepare: the program hosts no ActiveX controls.
inline void AfxEnableControlContainer() {}

// The module whose resources the dialogs are made from: the one set last, else
// the application's, else the executable's.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE resources);

// Runs the application object: InitInstance, then ExitInstance.
int AfxWinMain(HINSTANCE instance);
