#pragma once
// Every file the installation puts on the system goes through CopyDriverFile:
// from the setup folder's W32 or W64 package, or, for the core files of the
// Microsoft universal printer driver, from the system itself where the target
// system keeps them (the Driver Cache cabinets of Windows 2000, XP and Server
// 2003; the driver store of Vista, Server 2008 and Windows 7).

#include <string>

// Destination kinds.
constexpr int DIR_DRIVER = 66000;           // printer driver directory
constexpr int DIR_PROCESSOR = 66001;        // print processor directory
constexpr int DIR_SYSTEM = 66002;           // system directory
constexpr int DIR_SYSTEM_IF_ABSENT = 66003; // system directory, only a file it lacks
constexpr int DIR_WBEM_IF_ABSENT = 66004;   // system directory's wbem folder, only a file it lacks
constexpr int DIR_INF = 100;                // Windows directory's inf folder
constexpr int DIR_DRIVER_3 = 999;           // printer driver directory's "3" folder

// Results besides 1 (copied, or present where only an absent file is copied)
// and 0 (failed, or a name starting with "0", which is no file): the
// destination is in use, or locked or protected. Neither writes a text, so
// that the caller can try another name.
constexpr int COPY_IN_USE = 32;  // ERROR_SHARING_VIOLATION
constexpr int COPY_DENIED = 5;   // ERROR_ACCESS_DENIED

// Copies the file to the destination kind's folder for the target system.
// name is upper-cased in place. With rename set the destination is "n" and the
// upper-cased name (the source keeps the name). A failure replaces result with
// its text (a language text of section Message, with the system's description
// of the error where it has one), except for the silent results above and the
// 64-bit redirection failures.
int CopyDriverFile(char* name, int kind, int targetOs, bool rename, std::string& result);

// Upper-cased names of the universal printer driver's core files.
bool IsUnidrvCoreFile(const char* upperName);
