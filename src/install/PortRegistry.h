#pragma once
// Port data that the installation leaves in the registry and in win.ini: the
// serial settings of a COM port, in the form each Windows family keeps them,
// and the maker's USB port bookkeeping under SOFTWARE\TALVORN. All writes are
// best effort: a key that does not open or a value that is refused is skipped.

#include <windows.h>

#include <string>

// The serial settings text, "9600,n,8,1,x": baud rate, parity letter, data
// bits, stop bits (one decimal only for 1.5) and flow-control letter ("x"
// Xon/Xoff, "p" hardware, blank for none).
std::string FormatSerialSettings(int baudRate, int dataBits, double stopBits, char parity,
                                 char flowControl);

// The device control block that Windows 98/Me keeps for a serial port.
DCB BuildSerialDcb(int baudRate, int dataBits, double stopBits, char parity, char flowControl);

// Windows 98/Me: the DCB goes to the comNumber-th serial port instance (1 or 2)
// among the Ports class keys 0000..0003, the text to win.ini's [Ports] under
// port ("COM1:"), and the system is told that [Ports] changed. Without a port
// name there is no [Ports] line.
void WriteComSettings9x(int comNumber, const char* port, int baudRate, int dataBits,
                        double stopBits, char parity, char flowControl);

// The system's Ports key under HKEY_LOCAL_MACHINE on the NT family.
extern const char kNtPortsKey[];

// NT family: the text becomes the REG_SZ value named port of the Ports key,
// which is never created.
void WriteComSettingsNt(const char* port, int baudRate, int dataBits, double stopBits, char parity,
                        char flowControl, const char* portsKey = kNtPortsKey);

// Records the USB port's device number (setup.ini SUPPORTED-USB-DEVICE, 0 when
// absent) under SOFTWARE\TALVORN\PORTNAME and makes sure the PRINTERPORT key
// exists. On 64-bit Windows this runs inside the reporting redirection guard;
// when that cannot load Kernel32.dll nothing is written.
void RegisterUsbPortName(const char* port);

// Marks the USB port that received a printer (value 0 under the existing
// SOFTWARE\TALVORN\PRINTERPORT; the key is not created). False only when the
// 64-bit redirection guard could not load Kernel32.dll, which ends the
// installation; the mark itself is best effort.
bool MarkUsbPrinterPort(const char* port);
