#include "install/PortRegistry.h"

#include "config/ProfileReader.h"
#include "install/FsRedirectionGuard.h"
#include "install/RegistryKey.h"
#include "platform/ProgramFolder.h"

#include <cstdio>
#include <vector>

namespace {

// Windows 98/Me keeps a DCB of exactly this layout in the registry.
static_assert(sizeof(DCB) == 28, "the registry's DCB record is 28 bytes");

const char kPortsSection[] = "Ports";
const char kPortClassKeyFormat[] = "System\\CurrentControlSet\\Services\\Class\\Ports\\%04d";
const int kPortClassInstances = 4;
const BYTE kSerialPortSubClass = 1;
const char kUsbPortNameKey[] = "SOFTWARE\\TALVORN\\PORTNAME\\";
const char kUsbPrinterPortKey[] = "SOFTWARE\\TALVORN\\PRINTERPORT\\";
const char kUsbDeviceSection[] = "SUPPORTED-USB-DEVICE";

BYTE ParityCode(char parity)
{
    switch (parity) {
    case 'o':
        return ODDPARITY;
    case 'e':
        return EVENPARITY;
    case 'm':
        return MARKPARITY;
    case 's':
        return SPACEPARITY;
    default:
        return NOPARITY;
    }
}

BYTE StopBitsCode(double stopBits)
{
    if (stopBits == 1.5)
        return ONE5STOPBITS;
    if (stopBits == 2.0)
        return TWOSTOPBITS;
    return ONESTOPBIT;
}

// Opens root\subkey, creating it first when it does not open.
bool OpenOrCreate(CRegistryKey& key, const char* subkey)
{
    if (key.Open(HKEY_LOCAL_MACHINE, subkey))
        return true;
    CreateRegistryKey(HKEY_LOCAL_MACHINE, subkey);
    return key.Open(HKEY_LOCAL_MACHINE, subkey);
}

} // namespace

const char kNtPortsKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports";

std::string FormatSerialSettings(int baudRate, int dataBits, double stopBits, char parity,
                                 char flowControl)
{
    const char* format = stopBits == 1.5 ? "%d,%c,%d,%.1f,%c" : "%d,%c,%d,%.0f,%c";
    // A stop-bit count far outside 1..2 can print hundreds of digits.
    int length = std::snprintf(nullptr, 0, format, baudRate, parity, dataBits, stopBits, flowControl);
    if (length <= 0)
        return std::string();
    std::vector<char> text(static_cast<size_t>(length) + 1);
    std::snprintf(text.data(), text.size(), format, baudRate, parity, dataBits, stopBits, flowControl);
    return std::string(text.data(), static_cast<size_t>(length));
}

DCB BuildSerialDcb(int baudRate, int dataBits, double stopBits, char parity, char flowControl)
{
    DCB dcb;
    ZeroMemory(&dcb, sizeof(dcb));
    dcb.DCBlength = sizeof(DCB);
    dcb.BaudRate = static_cast<DWORD>(baudRate);
    dcb.fBinary = 1;
    if (parity == 'e' || parity == 'o' || parity == 'm' || parity == 's') {
        dcb.fParity = 1;
        dcb.fErrorChar = 1;
    }
    if (flowControl == 'p') {
        dcb.fOutxCtsFlow = 1;
        dcb.fRtsControl = RTS_CONTROL_ENABLE;
    }
    if (flowControl == 'x') {
        dcb.fOutX = 1;
        dcb.fInX = 1;
        dcb.XonChar = 0x11;
        dcb.XoffChar = 0x13;
    }
    dcb.ByteSize = static_cast<BYTE>(dataBits);
    dcb.Parity = ParityCode(parity);
    dcb.StopBits = StopBitsCode(stopBits);
    return dcb;
}

void WriteComSettings9x(int comNumber, const char* port, int baudRate, int dataBits,
                        double stopBits, char parity, char flowControl)
{
    const DCB dcb = BuildSerialDcb(baudRate, dataBits, stopBits, parity, flowControl);
    // COM1 and COM2 are the first and second serial instances of the Ports
    // class; other ports have no DCB there.
    if (comNumber == 1 || comNumber == 2) {
        int serialSeen = 0;
        for (int instance = 0; instance < kPortClassInstances; ++instance) {
            char subkey[64];
            std::snprintf(subkey, sizeof(subkey), kPortClassKeyFormat, instance);
            CRegistryKey key;
            if (!key.Open(HKEY_LOCAL_MACHINE, subkey))
                continue;
            BYTE subClass[3] = {};
            key.QueryValue("PortSubClass", subClass, sizeof(subClass));
            if (subClass[0] != kSerialPortSubClass)
                continue;
            if (++serialSeen == comNumber) {
                key.SetValue("DCB", &dcb, REG_NONE, sizeof(dcb));
                break;
            }
        }
    }

    // A null key would erase the whole [Ports] section.
    if (port == nullptr)
        return;
    const std::string text = FormatSerialSettings(baudRate, dataBits, stopBits, parity, flowControl);
    ::WriteProfileStringA(kPortsSection, port, text.c_str());
    ::SendNotifyMessageA(HWND_BROADCAST, WM_WININICHANGE, 0, reinterpret_cast<LPARAM>(kPortsSection));
    // Writes the cached profile through to win.ini.
    ::WriteProfileStringA(nullptr, nullptr, nullptr);
}

void WriteComSettingsNt(const char* port, int baudRate, int dataBits, double stopBits, char parity,
                        char flowControl, const char* portsKey)
{
    CRegistryKey key;
    if (!key.Open(HKEY_LOCAL_MACHINE, portsKey))
        return;
    key.SetString(port, FormatSerialSettings(baudRate, dataBits, stopBits, parity, flowControl).c_str());
}

void RegisterUsbPortName(const char* port)
{
    int deviceNumber = 0;
    char setupIni[MAX_PATH];
    if (BuildProgramFilePath("DRVCONFIG\\setup.ini", setupIni))
        deviceNumber = ReadProfileInt(setupIni, kUsbDeviceSection, port);

    FsRedirectionGuard(FsGuardForm::Reporting, [&] {
        CRegistryKey portNames;
        if (OpenOrCreate(portNames, kUsbPortNameKey))
            portNames.SetDword(port, static_cast<DWORD>(deviceNumber));
        portNames.Close();
        // The install sequence marks the port here later; it does not create the key.
        CRegistryKey printerPorts;
        OpenOrCreate(printerPorts, kUsbPrinterPortKey);
        return 1;
    });
}

bool MarkUsbPrinterPort(const char* port)
{
    return FsRedirectionGuard(FsGuardForm::Reporting, [&] {
        CRegistryKey printerPorts;
        if (printerPorts.Open(HKEY_LOCAL_MACHINE, kUsbPrinterPortKey))
            printerPorts.SetDword(port, 0);
        return 1;
    }) != 0;
}
