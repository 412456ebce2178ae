#pragma once
// The application object: start-up checks, then the wizard.

#include "afx/AfxWin.h"
#include "platform/Handles.h"

#include <string>

class CSetupApp : public CWinApp {
public:
    CSetupApp();
    ~CSetupApp() override;

    // Runs the start-up checks in order; each refusal ends the program, most
    // after one message box. Runs the wizard when all pass. Always FALSE.
    BOOL InitInstance() override;
    int ExitInstance() override;

    int ReadConfigInt(const char* file, const char* section, const char* key);
    int IsWow64();

protected:
    // The wizard, once every check has passed.
    virtual void RunWizard();

private:
    bool BringRunningWizardToFront();
    bool UninstallerRunning();
    bool WindowsVersionRefused();
    bool PackageArchitectureRefused();
    bool CatalogueOffersAPort();

    // Held for the whole run: a second copy sees it and stops.
    KernelHandle m_instanceMutex;
};

// Shown when the setup folder's path leaves no room for its configuration
// files' paths.
extern const char* const kFolderTooLongText;
