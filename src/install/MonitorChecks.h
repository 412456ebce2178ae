#pragma once
// The checks of the spooler components that a model's driver brings: its COM
// and USB port monitors, its USB language monitor and its print processor. A
// component the system lacks is installed; an installed one older than the
// configured version is reported as a bit for the install sequence, which
// replaces it (ComponentUpdates.h).
//
// Versions are the "DriverVersion" value that the installation writes under
// the component's registry key; a key without one is outdated.

#include "install/InstallContext.h"

#include <string>

// Pending-update bits.
constexpr int UPD_COM_MONITOR = 1;
constexpr int UPD_USB_MONITOR = 2;
constexpr int UPD_LANG_MONITOR = 4;
constexpr int UPD_PROCESSOR = 8;

// Check results besides 0 and the bits.
constexpr int CHECK_MONITOR_FAILED = -15;
constexpr int CHECK_PROCESSOR_FAILED = -14;

// Registry keys under HKEY_LOCAL_MACHINE.
std::string MonitorKeyPath(const char* monitor);
// The processor's key in the environment of the target system: "Windows 4.0"
// for Windows 98/Me, else the system's own.
std::string ProcessorKeyPath(int targetOs, const char* processor);

// The COM port monitor (a COM port on 32-bit Windows of the NT family) and the
// USB port monitor (a "USB_" port, not on NT 4.0) of the context's category.
// Returns 0, UPD_COM_MONITOR, UPD_USB_MONITOR or CHECK_MONITOR_FAILED (with
// the monitor registration's text in result).
int CheckPortMonitors(InstallContext& context, int targetOs, const char* port, std::string& result);

// The print processor and its DLL (upper-cased in place when copied);
// "WinPrint" is the system's own. Returns 0, UPD_PROCESSOR or
// CHECK_PROCESSOR_FAILED (result then holds IDS_ERR_ADDPROCESSOR).
int CheckPrintProcessor(int targetOs, const char* processor, char* dllName, std::string& result);

// The language monitor of the context's model for a "USB_" port. Returns 0,
// UPD_LANG_MONITOR or CHECK_MONITOR_FAILED.
int CheckLanguageMonitor(InstallContext& context, int targetOs, const char* port, std::string& result);
