#include "support/PreparedInstall.h"

#include "config/SetupIni.h"
#include "install/PortRegistry.h"
#include "platform/BoundedText.h"
#include "platform/ProgramFolder.h"
#include "platform/Wow64.h"

#include <cstring>

PreparedInstall::PreparedInstall(const InstallChoice& choice) : m_networkPort(choice.networkPort)
{
    InstallContext& c = wizard;
    c.m_nCategory = choice.category;
    c.m_nTargetOs = choice.targetOs;
    c.m_bRaster = choice.raster;
    CopyText(c.m_szModel, choice.model.c_str());
    CopyText(c.m_szPort, choice.port.c_str());
    c.m_bSetDefault = choice.setDefault;
    c.m_nBaudRate = choice.baudRate;
    c.m_nByteSize = choice.byteSize;
    c.m_dStopBits = choice.stopBits;
    c.m_cParity = choice.parity;
    c.m_cProtocol = choice.protocol;
    BuildProgramFilePath(kSetupIniName, c.m_szSetupIni);
    BuildProgramFilePath(CategoryIniName(choice.category, g_bWow64), c.m_szModelIni);

    const char* port = c.m_szPort;
    if (std::strstr(port, "USB_") != nullptr)
        c.m_nPortKind = kPortUsb;
    else if (std::strstr(port, "COM") != nullptr)
        c.m_nPortKind = kPortCom;
    else if (std::strstr(port, "LPT") != nullptr)
        c.m_nPortKind = kPortLpt;
    else
        c.m_nPortKind = kPortNet;

    const char* model = c.m_szModel;
    c.m_config.m_nCategory = c.m_nCategory;
    c.m_config.GetDriverFiles(model, c.m_nTargetOs, c.m_driverFiles, c.m_bRaster, c.m_nPortKind);
    c.m_config.GetDriverInfo(model, c.m_nTargetOs, c.m_driverInfo, c.m_bRaster, c.m_nPortKind);
    c.m_config.GetPrinterInfo(model, c.m_nTargetOs, c.m_printerInfo, c.m_bRaster, c.m_nPortKind);
    c.m_printerInfo.pPortName = c.m_szPort;
    if (c.m_nPortKind == kPortNet)
        c.m_printerInfo.pPortName = &m_networkPort[0];

    LangMonitorRecord monitor = {};
    c.m_config.GetLangMonitorInfo(model, c.m_nTargetOs, monitor, c.m_nPortKind);
    c.m_monitorInfo = monitor.monitor;
    c.m_driverInfo.pMonitorName = c.m_nPortKind == kPortUsb ? monitor.monitor.pName : m_noMonitor;

    char* name = c.m_config.m_szPrinterName;
    switch (c.m_nPortKind) {
    case kPortUsb:
        for (int n = 1; n <= 4; ++n) {
            const std::string number = "_" + std::to_string(n);
            if (std::strstr(port, number.c_str()) != nullptr)
                AppendText(name, kConfigTextSize, ("(U) " + std::to_string(n)).c_str());
        }
        RegisterUsbPortName(c.m_printerInfo.pPortName);
        break;
    case kPortCom:
        AppendText(name, kConfigTextSize, "(S)");
        break;
    case kPortLpt:
        AppendText(name, kConfigTextSize, "(P)");
        break;
    default:
        AppendText(name, kConfigTextSize, "(E)");
        break;
    }
}
