#include "platform/TargetOs.h"

#include "afx/AfxWin.h"
#include "config/LangText.h"
#include "platform/PlatformApi.h"

OsClassification ClassifyTargetOs(DWORD platformId, DWORD major, DWORD minor,
                                  BYTE productType, WORD processorArchitecture)
{
    if (platformId == VER_PLATFORM_WIN32_WINDOWS)
        return {kOsWin9x, false};
    if (platformId != VER_PLATFORM_WIN32_NT)
        return {kOsWin9x, true};

    const bool workstation = productType == VER_NT_WORKSTATION;
    switch (major) {
    case 4:
        return {minor == 0 ? kOsNt4 : kOsWin9x, false};
    case 5:
        if (minor == 0)
            return {kOsWin2000, false};
        if (minor == 1)
            return {kOsXp, false};
        if (minor == 2)
            return {workstation && processorArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ? kOsXp : kOs2003,
                    false};
        return {kOsWin9x, false};
    case 6:
        if (minor == 0)
            return {workstation ? kOsVista : kOs2008, false};
        return {workstation ? kOsWin7 : kOs2008, false};
    default:
        if (major > 6)
            return {workstation ? kOsWin7 : kOs2008, false};
        return {kOsWin9x, false};
    }
}

int DetectTargetOs()
{
    SYSTEM_INFO system = {};
    OSVERSIONINFOEXA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    g_platformApi.getVersionEx(reinterpret_cast<OSVERSIONINFOA*>(&version));

    // Only the native call reports the x64 processor to a 32-bit process.
    using GetNativeSystemInfoFn = void(WINAPI*)(LPSYSTEM_INFO);
    auto getNative = reinterpret_cast<GetNativeSystemInfoFn>(reinterpret_cast<void*>(
        g_platformApi.getProcAddress(::GetModuleHandleA("kernel32.dll"), "GetNativeSystemInfo")));
    if (getNative != nullptr)
        getNative(&system);
    else
        ::GetSystemInfo(&system);

    OsClassification os = ClassifyTargetOs(version.dwPlatformId, version.dwMajorVersion,
                                            version.dwMinorVersion, version.wProductType,
                                            system.wProcessorArchitecture);
    if (os.unknownPlatform)
        AfxMessageBox(g_langMsg.GetText("IDS_ERR_SYSTEM").c_str(), MB_OK);
    return os.code;
}
