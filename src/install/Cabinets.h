#pragma once
// The core files of the universal printer driver from the cabinets of the
// system's "Driver Cache" folder (Windows 2000, XP and Server 2003), extracted
// into the temporary folder once per run.

#include <windows.h>

#include <string>
#include <vector>

// True until the first extraction attempt of the run.
extern bool g_bExtractPending;
// The cabinet file names found, in the order of the search; appended to,
// never cleared.
extern std::vector<std::string> g_cabinetNames;

// The members taken from the cabinets, matched exactly.
extern const char* const kUnidrvCabinetMembers[6];

// Extracts the core members of every cabinet of the Driver Cache folder
// ("AMD64" on 64-bit Windows, "i386" otherwise) into the temporary folder.
// The outcome of the last cabinet; false when the folder has none.
bool ExtractUnidrvFromCabinets();

// Appends the names of the folder's "*.cab" files (folder with its trailing
// backslash) to g_cabinetNames.
void CollectCabinets(const char* folder);

// Iterates the cabinet with CabinetFileCallback. True when the iteration
// succeeded.
bool ExtractCabinet(const char* cabinetPath);

// The cabinet iteration's callback: every member is aimed at the temporary
// folder of the current extraction, and only the core members are extracted.
UINT CALLBACK CabinetFileCallback(PVOID context, UINT notification, UINT_PTR param1, UINT_PTR param2);
