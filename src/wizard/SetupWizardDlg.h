#pragma once
// The wizard frame. For now it holds only what the installation works with:
// the InstallContext is part of the frame object, so the frame is one, and the
// install worker reaches the context through the frame it is given.

#include "install/InstallContext.h"

class CSetupWizardDlg : public InstallContext {
public:
    CSetupWizardDlg() = default;
    virtual ~CSetupWizardDlg() = default;

    CSetupWizardDlg(const CSetupWizardDlg&) = delete;
    CSetupWizardDlg& operator=(const CSetupWizardDlg&) = delete;
};
