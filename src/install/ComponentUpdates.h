#pragma once
// Replacement of an installed spooler component that the checks reported as
// outdated (MonitorChecks.h). A DLL the spooler holds open is copied under
// "n" and its name, and the component's "Driver" value is pointed at that
// file, which the spooler loads when it next starts.

#include "install/InstallContext.h"

#include <string>

// Replaces the first component of the bits that applies, in this order: on
// the NT family the COM port monitor, the USB port monitor, the print
// processor (copied into processorDirectory); on Windows 98/Me the USB port
// monitor, then the print processor. The NT family's Spooler service is the
// caller's to stop and start. False with the failure's text in result.
bool ApplyPendingUpdates(InstallContext& context, int bits, const char* processorDirectory,
                         std::string& result);

// Replaces the USB language monitor while the spooler runs. False with the
// failure's text in result.
bool ApplyLanguageMonitorUpdate(InstallContext& context, std::string& result);
