#pragma once
// The running Windows version as a TargetOs code, which selects the
// configuration sections, the driver version and several install steps.

#include <windows.h>

enum TargetOs {
    kOsWin9x = 0,   // Windows 98/Me and every system not recognised
    kOsNt4 = 1,
    kOsWin2000 = 2,
    kOsXp = 3,      // XP Professional x64 Edition included
    kOs2003 = 4,
    kOsVista = 5,
    kOs2008 = 6,    // 2008 R2 included
    kOsWin7 = 7,
};
constexpr int kTargetOsCount = 8;

struct OsClassification {
    int code;
    // The platform is neither Windows 9x nor Windows NT.
    bool unknownPlatform;
};

// Pure classification of a version record and the native processor
// architecture. NT 6.2 and later (Windows 8 onwards, which report 6.2 to a
// program without a newer manifest entry) are the newest systems the
// configuration knows: Windows 7 for a workstation, Server 2008 for a server.
OsClassification ClassifyTargetOs(DWORD platformId, DWORD major, DWORD minor,
                                  BYTE productType, WORD processorArchitecture);

// TargetOs code of the running system. An unknown platform shows
// Message/IDS_ERR_SYSTEM and gives 0.
int DetectTargetOs();
