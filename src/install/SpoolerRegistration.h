#pragma once
// Registration with the print spooler of what the installation installs: the
// printer queue (under a free name), the printer driver, a monitor, a print
// processor and the default printer, and a probe that the spooler lists its
// ports. Failures put their text into the caller's result buffer (a language
// text of section Message, a line feed and the system's description of the
// error, or the language text alone when the system has none), replacing its
// content; successes leave it alone.

#include <windows.h>
#include <winspool.h>

#include <string>

// Names tried after the requested one: "<name>(1)" to "<name>(98)".
constexpr int kMaxQueueNameSuffix = 98;

// Adds the printer queue of the record (AddPrinterA with the given level) under
// its printer name or, when that name is in use and noRename is false, under the
// first free "<name>(n)". queueName receives the name the queue was created
// under and the record's printer name points to it afterwards, so it must
// outlive the record's use; on failure both are empty. Returns 1 or 0.
int AddPrinterUnique(PRINTER_INFO_2A& printer, DWORD level, bool noRename, std::string& queueName,
                     std::string& result);

// AddPrinterDriverA level 3. Returns 1 or 0.
int InstallPrinterDriver(DRIVER_INFO_3A& driver, std::string& result);

// AddMonitorA level 2; a monitor that is already installed counts as success.
// Returns 1 or 0.
int InstallMonitor(MONITOR_INFO_2A& monitor, std::string& result);

// AddPrintProcessorA for the Windows 98/Me environment (target system 0) or the
// system's own. Returns 1; on failure the error code when it is 87, 183 or 3005
// (the caller reports every other value than 1 itself), else 0. result is not
// written.
int InstallPrintProcessor(const char* name, const char* dllName, int targetOs, std::string& result);

// Makes the queue the default printer the way the running Windows version
// keeps it, then tells every window. Returns 1 or 0; writes no text.
int MakeDefaultPrinter(const char* queueName);

// Asks the spooler for its port list (the list itself is not used). Returns 1
// or 0.
int CheckPortEnumeration(std::string& result);
