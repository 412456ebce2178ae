#pragma once
// The wizard's final choice as the installation works with it, the record the
// install worker starts with, and the process-wide result text.

#include "config/DriverConfig.h"

#include <windows.h>
#include <winspool.h>

#include <string>

constexpr size_t kPortNameSize = 100;

// Filled when the wizard reaches the port page and on Install; complete before
// the worker starts, and written only by the worker while it runs.
struct InstallContext {
    int m_nCategory = 0;
    int m_nTargetOs = 0;
    int m_bRaster = 0;
    // The model; after a successful installation the queue's name.
    char m_szModel[kConfigTextSize] = {};
    char m_szPort[kPortNameSize] = {};
    // Model-specific USB port name; cleared on every Install.
    char m_szAltPort[kPortNameSize] = {};
    int m_bSetDefault = 0;
    int m_nBaudRate = 0;
    int m_nByteSize = 0;
    double m_dStopBits = 0;
    char m_cParity = 0;
    // 'x' Xon/Xoff, 'p' hardware, ' ' none.
    char m_cProtocol = 0;
    // Pending-update bits of the install sequence.
    int m_nInstallFlags = 0;
    char m_szSetupIni[kConfigTextSize] = {};
    char m_szModelIni[kConfigTextSize] = {};
    int m_nPortKind = 0;
    CDriverConfig m_config;
    DriverFileList m_driverFiles = {};
    DRIVER_INFO_3A m_driverInfo = {};
    MONITOR_INFO_2A m_monitorInfo = {};
    PRINTER_INFO_2A m_printerInfo = {};
};

class CSetupWizardDlg;
class CProgressDlg;

// What the install worker receives: the wizard, through which it reaches the
// install context, and the progress window it reports its result to.
struct InstallStartRecord {
    CSetupWizardDlg* wizard;
    CProgressDlg* progress;
};

// The install result: a failure text or, on success, the success text. It has
// no length limit. Written by the worker before its final result, read by the
// wizard after the progress window has closed.
extern std::string g_szResultMessage;

// The install mode: 1 typical, 0 advanced.
extern int g_bTypical;
