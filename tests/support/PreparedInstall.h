#pragma once
// A wizard frame whose install context is filled as the install launch fills
// it for a choice of model, category, target system and port, from the
// running program's setup folder: records from the category file, the port
// kind from the port name, the language monitor record, the printer name's
// port suffix and, for a USB port, its entry under SOFTWARE\TALVORN.

#include "config/DriverConfig.h"
#include "wizard/SetupWizardDlg.h"

#include <string>

struct InstallChoice {
    std::string model = "QMT-K410";
    int category = kReceipt;
    int targetOs = 7;
    // "COM1:", "LPT1:", "USB_QMT-K410_1" or a network port.
    std::string port = "LPT1:";
    // A network port's TCP/IP port name (the launch makes the port).
    std::string networkPort = "TVIP_192.168.0.7";
    int raster = 1;
    int setDefault = 0;
    int baudRate = 38400;
    int byteSize = 8;
    double stopBits = 1;
    char parity = 'N';
    char protocol = 'x';
};

class PreparedInstall {
public:
    explicit PreparedInstall(const InstallChoice& choice);

    PreparedInstall(const PreparedInstall&) = delete;
    PreparedInstall& operator=(const PreparedInstall&) = delete;

    CSetupWizardDlg wizard;
    InstallContext& context() { return wizard; }

private:
    std::string m_networkPort;
    char m_noMonitor[1] = {};
};
