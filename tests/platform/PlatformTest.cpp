#include "platform/AdminCheck.h"
#include "platform/TargetOs.h"
#include "platform/Wow64.h"

#include "support/MessageBoxCatcher.h"
#include "support/ScopedPlatformApi.h"
#include "support/SetupFolder.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

enum class Wow64Answer { Missing, Fails, Wow64, Native };
Wow64Answer g_wow64Answer = Wow64Answer::Native;

BOOL WINAPI FakeIsWow64Process(HANDLE, PBOOL wow64)
{
    if (g_wow64Answer == Wow64Answer::Fails) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    *wow64 = g_wow64Answer == Wow64Answer::Wow64;
    return TRUE;
}

FARPROC WINAPI FakeGetProcAddress(HMODULE module, LPCSTR name)
{
    if (std::strcmp(name, "IsWow64Process") == 0)
        return g_wow64Answer == Wow64Answer::Missing
            ? nullptr
            : reinterpret_cast<FARPROC>(reinterpret_cast<void*>(FakeIsWow64Process));
    return ::GetProcAddress(module, name);
}

OSVERSIONINFOA g_fakeVersion;

BOOL WINAPI FakeGetVersionEx(LPOSVERSIONINFOA info)
{
    DWORD size = info->dwOSVersionInfoSize;
    std::memcpy(info, &g_fakeVersion, sizeof(g_fakeVersion));
    info->dwOSVersionInfoSize = size;
    return TRUE;
}

} // namespace

TEST(IsUserAdmin, TheWineUserIsAnAdministrator)
{
    // Wine's thread has no token of its own: the process token answers.
    EXPECT_EQ(IsUserAdmin(), 1);
}

TEST(IsWow64, RealAnswerOfThe64BitTestProcess)
{
    EXPECT_EQ(IsWow64(), 0);
}

TEST(IsWow64, AnswersOfTheSystem)
{
    ScopedPlatformApi api;
    g_platformApi.getProcAddress = FakeGetProcAddress;
    struct Case {
        Wow64Answer answer;
        int result;
    } cases[] = {
        {Wow64Answer::Wow64, 1},
        {Wow64Answer::Native, 0},
        // Windows XP before SP2 has no IsWow64Process: a 32-bit Windows.
        {Wow64Answer::Missing, 0},
        {Wow64Answer::Fails, 0},
    };
    for (const Case& c : cases) {
        g_wow64Answer = c.answer;
        EXPECT_EQ(IsWow64(), c.result) << static_cast<int>(c.answer);
    }
}

TEST(DetectTargetOs, WinesDefaultIsWindows7)
{
    // A new 64-bit prefix reports 6.1 workstation.
    EXPECT_EQ(DetectTargetOs(), kOsWin7);
}

TEST(DetectTargetOs, UnknownPlatformShowsTheSystemErrorAndGivesZero)
{
    SetupFolder folder;
    folder.Set("language\\setup.ini", "Message", "IDS_ERR_SYSTEM", "Unknown system");
    ScopedPlatformApi api;
    g_platformApi.getVersionEx = FakeGetVersionEx;
    g_fakeVersion = {};
    g_fakeVersion.dwPlatformId = VER_PLATFORM_WIN32s;
    g_fakeVersion.dwMajorVersion = 6;
    g_fakeVersion.dwMinorVersion = 1;

    MessageBoxCatcher boxes;
    EXPECT_EQ(DetectTargetOs(), kOsWin9x);
    ASSERT_TRUE(boxes.WaitFor(1));
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Unknown system");
}
