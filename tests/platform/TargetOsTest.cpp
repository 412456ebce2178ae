#include "platform/TargetOs.h"

#include <gtest/gtest.h>

namespace {

constexpr WORD kX86 = PROCESSOR_ARCHITECTURE_INTEL;
constexpr WORD kX64 = PROCESSOR_ARCHITECTURE_AMD64;
constexpr BYTE kWorkstation = VER_NT_WORKSTATION;
constexpr BYTE kServer = VER_NT_SERVER;
constexpr BYTE kDomainController = VER_NT_DOMAIN_CONTROLLER;

struct OsCase {
    const char* system;
    DWORD platform;
    DWORD major;
    DWORD minor;
    BYTE productType;
    WORD arch;
    int code;
};

const OsCase kCases[] = {
    {"Windows 95", VER_PLATFORM_WIN32_WINDOWS, 4, 0, 0, kX86, kOsWin9x},
    {"Windows 98", VER_PLATFORM_WIN32_WINDOWS, 4, 10, 0, kX86, kOsWin9x},
    {"Windows Me", VER_PLATFORM_WIN32_WINDOWS, 4, 90, 0, kX86, kOsWin9x},
    {"Windows NT 4.0", VER_PLATFORM_WIN32_NT, 4, 0, kWorkstation, kX86, kOsNt4},
    {"NT 4.1", VER_PLATFORM_WIN32_NT, 4, 1, kWorkstation, kX86, kOsWin9x},
    {"Windows 2000", VER_PLATFORM_WIN32_NT, 5, 0, kWorkstation, kX86, kOsWin2000},
    {"Windows 2000 Server", VER_PLATFORM_WIN32_NT, 5, 0, kServer, kX86, kOsWin2000},
    {"Windows XP", VER_PLATFORM_WIN32_NT, 5, 1, kWorkstation, kX86, kOsXp},
    {"Windows XP x64", VER_PLATFORM_WIN32_NT, 5, 2, kWorkstation, kX64, kOsXp},
    {"Server 2003", VER_PLATFORM_WIN32_NT, 5, 2, kServer, kX86, kOs2003},
    {"Server 2003 x64", VER_PLATFORM_WIN32_NT, 5, 2, kServer, kX64, kOs2003},
    {"5.2 workstation on x86", VER_PLATFORM_WIN32_NT, 5, 2, kWorkstation, kX86, kOs2003},
    {"NT 5.3", VER_PLATFORM_WIN32_NT, 5, 3, kWorkstation, kX86, kOsWin9x},
    {"Windows Vista", VER_PLATFORM_WIN32_NT, 6, 0, kWorkstation, kX64, kOsVista},
    {"Server 2008", VER_PLATFORM_WIN32_NT, 6, 0, kServer, kX64, kOs2008},
    {"Server 2008 domain controller", VER_PLATFORM_WIN32_NT, 6, 0, kDomainController, kX86, kOs2008},
    {"Windows 7", VER_PLATFORM_WIN32_NT, 6, 1, kWorkstation, kX64, kOsWin7},
    {"Server 2008 R2", VER_PLATFORM_WIN32_NT, 6, 1, kServer, kX64, kOs2008},
    {"Server 2008 R2 domain controller", VER_PLATFORM_WIN32_NT, 6, 1, kDomainController, kX64, kOs2008},
    // Windows 8 and later report 6.2 without a newer manifest entry; a 10.0
    // report (a compatibility shim) is the same family.
    {"Windows 8/10/11", VER_PLATFORM_WIN32_NT, 6, 2, kWorkstation, kX64, kOsWin7},
    {"Windows 8.1 as 6.3", VER_PLATFORM_WIN32_NT, 6, 3, kWorkstation, kX86, kOsWin7},
    {"Server 2012 and later", VER_PLATFORM_WIN32_NT, 6, 2, kServer, kX64, kOs2008},
    {"Windows 10 as 10.0", VER_PLATFORM_WIN32_NT, 10, 0, kWorkstation, kX64, kOsWin7},
    {"Server 2019 as 10.0", VER_PLATFORM_WIN32_NT, 10, 0, kDomainController, kX64, kOs2008},
    {"NT 3.51", VER_PLATFORM_WIN32_NT, 3, 51, kWorkstation, kX86, kOsWin9x},
};

} // namespace

TEST(ClassifyTargetOs, EveryRowOfTheVersionTable)
{
    for (const OsCase& c : kCases) {
        OsClassification os = ClassifyTargetOs(c.platform, c.major, c.minor, c.productType, c.arch);
        EXPECT_EQ(os.code, c.code) << c.system;
        EXPECT_FALSE(os.unknownPlatform) << c.system;
    }
}

TEST(ClassifyTargetOs, UnknownPlatformIsCodeZeroAndFlagged)
{
    for (DWORD platform : {static_cast<DWORD>(VER_PLATFORM_WIN32s), static_cast<DWORD>(3)}) {
        OsClassification os = ClassifyTargetOs(platform, 6, 1, kWorkstation, kX64);
        EXPECT_EQ(os.code, kOsWin9x);
        EXPECT_TRUE(os.unknownPlatform);
    }
}
