#pragma once
// Where the maker's USB driver is: the packaged driver, its INF and its
// installer in the setup folder's USBDRV\USBDriver (32-bit Windows) or
// USBDRV\USBDriver_x64 (64-bit Windows), and the installed driver file.

#include <string>

// Full path of a file of the packaged USB driver folder for the running
// Windows (by the 64-bit flag); empty when it does not fit a module path.
std::string PackagedUsbDriverFile(const char* name);

// The Windows folder followed by "\system32\drivers\TVPUSB.sys"; empty when
// the Windows folder cannot be read.
std::string InstalledUsbDriverPath();
