#pragma once
// Runs the maker's USB driver installer (Install.exe of the packaged USB
// driver folder) in its two ways: installing or updating the maker's own USB
// driver, and handing a USB printing-class printer to the printer driver's INF.

// For printers of the own-driver group: on every system but Windows 98/Me and
// NT 4.0 (the running system, detected), starts the installer with "2" when
// the packaged driver is newer than the installed one or none is installed,
// then gives it 3.5 seconds. Its end and result are not awaited.
void UpdateUsbDriver();

// Result of InstallUsbClassDriver when the installer has been started: the
// wizard is to end now (with IDOK, as its OK button ends it).
constexpr int kUsbClassInstallStarted = 1;

// For a class printer of model: finds its USB port number through the USB
// print DLL, its hardware id in setup.ini USBCLASSPRINTER under
// "<model>(U)<number>" and the printer driver's INF by setup.ini Inffilename,
// and starts the installer with " 3 "<INF path>" <hardware id> 0". Returns 1
// when it was started (a failed start is not reported), 0 after showing
// IDS_ERR_CLASSPRINTERIDERROR (no port number) or IDS_ERR_HARDWAREIDNULL (no
// hardware id). The caller ends the wizard on 1.
int InstallUsbClassDriver(const char* model);
