#include "install/FsRedirectionGuard.h"

#include "afx/AfxWin.h"
#include "platform/Wow64.h"

#include "support/MessageBoxCatcher.h"
#include "support/ScopedPlatformApi.h"

#include "support/ScopedWow64Flag.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// What the fake 64-bit system offers the guard.
struct FakeKernel {
    bool loads = true;
    bool hasDisable = true;
    BOOL disableAnswer = TRUE;
    bool hasRevert = true;
};

FakeKernel g_kernel;
std::vector<std::string> g_events;
PVOID const kSavedState = reinterpret_cast<PVOID>(static_cast<ULONG_PTR>(0x5EED));

BOOL WINAPI FakeDisable(PVOID* oldState)
{
    g_events.push_back("disable");
    if (!g_kernel.disableAnswer) {
        ::SetLastError(ERROR_INVALID_FUNCTION);
        return FALSE;
    }
    *oldState = kSavedState;
    return TRUE;
}

BOOL WINAPI FakeRevert(PVOID oldState)
{
    g_events.push_back(oldState == kSavedState ? "revert saved" : oldState == nullptr ? "revert null" : "revert other");
    return TRUE;
}

HMODULE WINAPI FakeLoadLibrary(LPCSTR name)
{
    g_events.push_back(std::string("load ") + name);
    if (!g_kernel.loads) {
        ::SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    return ::LoadLibraryA(name);
}

FARPROC WINAPI FakeGetProcAddress(HMODULE module, LPCSTR name)
{
    if (std::strcmp(name, "Wow64DisableWow64FsRedirection") == 0)
        return g_kernel.hasDisable ? reinterpret_cast<FARPROC>(reinterpret_cast<void*>(FakeDisable)) : nullptr;
    if (std::strcmp(name, "Wow64RevertWow64FsRedirection") == 0)
        return g_kernel.hasRevert ? reinterpret_cast<FARPROC>(reinterpret_cast<void*>(FakeRevert)) : nullptr;
    return ::GetProcAddress(module, name);
}

const int kStepResult = 7;

class FsRedirectionGuardTest : public testing::Test {
protected:
    void SetUp() override
    {
        g_platformApi.loadLibrary = FakeLoadLibrary;
        g_platformApi.getProcAddress = FakeGetProcAddress;
        g_events.clear();
        g_kernel = FakeKernel();
    }

    // Runs the guard around a step that logs itself, answering message boxes.
    int Run(FsGuardForm form, std::vector<std::string>& boxes)
    {
        MessageBoxCatcher catcher;
        int result = FsRedirectionGuard(form, [] {
            g_events.push_back("step");
            return kStepResult;
        });
        for (const CaughtMessageBox& box : catcher.Boxes())
            boxes.push_back(box.text);
        return result;
    }

    ScopedPlatformApi m_api;
};

using Events = std::vector<std::string>;

} // namespace

TEST_F(FsRedirectionGuardTest, On32BitWindowsTheStepJustRuns)
{
    ScopedWow64Flag flag(false);
    for (FsGuardForm form : {FsGuardForm::Silent, FsGuardForm::Reporting}) {
        g_events.clear();
        std::vector<std::string> boxes;
        EXPECT_EQ(Run(form, boxes), kStepResult);
        EXPECT_EQ(g_events, Events{"step"});
        EXPECT_TRUE(boxes.empty());
    }
}

TEST_F(FsRedirectionGuardTest, StepRunsBetweenDisableAndRevert)
{
    ScopedWow64Flag flag(true);
    for (FsGuardForm form : {FsGuardForm::Silent, FsGuardForm::Reporting}) {
        g_events.clear();
        std::vector<std::string> boxes;
        EXPECT_EQ(Run(form, boxes), kStepResult);
        EXPECT_EQ(g_events, (Events{"load Kernel32.dll", "disable", "step", "revert saved"}));
        EXPECT_TRUE(boxes.empty());
    }
}

TEST_F(FsRedirectionGuardTest, SilentFormFailsWithoutAWord)
{
    ScopedWow64Flag flag(true);
    const struct Case {
        const char* what;
        FakeKernel kernel;
        Events events;
        int result;
    } cases[] = {
        {"library does not load", {false, true, TRUE, true}, {"load Kernel32.dll"}, 0},
        {"redirection stays on", {true, true, FALSE, true}, {"load Kernel32.dll", "disable"}, 0},
        // Without the function there is no redirection to turn off.
        {"no disable function", {true, false, TRUE, true}, {"load Kernel32.dll", "step"}, kStepResult},
        {"no revert function", {true, true, TRUE, false}, {"load Kernel32.dll", "disable", "step"}, kStepResult},
    };
    for (const Case& c : cases) {
        g_kernel = c.kernel;
        g_events.clear();
        std::vector<std::string> boxes;
        EXPECT_EQ(Run(FsGuardForm::Silent, boxes), c.result) << c.what;
        EXPECT_EQ(g_events, c.events) << c.what;
        EXPECT_TRUE(boxes.empty()) << c.what;
    }
}

TEST_F(FsRedirectionGuardTest, ReportingFormShowsWhatIsMissing)
{
    ScopedWow64Flag flag(true);
    CWinApp app;
    const struct Case {
        const char* what;
        FakeKernel kernel;
        Events events;
        int result;
        std::vector<std::string> boxes;
        size_t boxesBeforeStep;
    } cases[] = {
        {"library does not load", {false, true, TRUE, true}, {"load Kernel32.dll"}, 0, {"Can't Load Kernel32.dll"}, 0},
        {"no disable function",
         {true, false, TRUE, true},
         {"load Kernel32.dll", "step"},
         kStepResult,
         {"Can't Get Function Wow64DisableWow64FsRedirection Address"},
         1},
        {"no revert function",
         {true, true, TRUE, false},
         {"load Kernel32.dll", "disable", "step"},
         kStepResult,
         {"Can't Get Function Wow64RevertWow64FsRedirection Address"},
         0},
        // The disable call's answer is not examined: the step runs, and the
        // revert puts back the state as it was.
        {"redirection stays on",
         {true, true, FALSE, true},
         {"load Kernel32.dll", "disable", "step", "revert null"},
         kStepResult,
         {},
         0},
    };
    for (const Case& c : cases) {
        g_kernel = c.kernel;
        g_events.clear();
        std::vector<std::string> boxes;
        size_t boxesBeforeStep = 0;
        MessageBoxCatcher catcher;
        int result = FsRedirectionGuard(FsGuardForm::Reporting, [&] {
            g_events.push_back("step");
            boxesBeforeStep = catcher.Boxes().size();
            return kStepResult;
        });
        EXPECT_EQ(result, c.result) << c.what;
        EXPECT_EQ(g_events, c.events) << c.what;
        for (const CaughtMessageBox& box : catcher.Boxes()) {
            boxes.push_back(box.text);
            EXPECT_EQ(box.caption, app.m_pszAppName) << c.what;
        }
        EXPECT_EQ(boxes, c.boxes) << c.what;
        EXPECT_EQ(boxesBeforeStep, c.boxesBeforeStep) << c.what;
    }
}

TEST_F(FsRedirectionGuardTest, RevertsWhenTheStepThrows)
{
    ScopedWow64Flag flag(true);
    EXPECT_THROW(FsRedirectionGuard(FsGuardForm::Silent, []() -> int { throw std::runtime_error("step"); }),
                 std::runtime_error);
    EXPECT_EQ(g_events, (Events{"load Kernel32.dll", "disable", "revert saved"}));
}

TEST(FsRedirectionGuard, WinesRealFunctionsIn64BitProcess)
{
    // A 64-bit process has no redirection to turn off: Wine has both
    // functions, and the disable call answers FALSE. The silent form then
    // refuses the step, the reporting form runs it without a word.
    ScopedWow64Flag flag(true);
    MessageBoxCatcher catcher;
    int runs = 0;
    auto step = [&] {
        ++runs;
        return kStepResult;
    };
    EXPECT_EQ(FsRedirectionGuard(FsGuardForm::Silent, step), 0);
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(FsRedirectionGuard(FsGuardForm::Reporting, step), kStepResult);
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(catcher.Boxes().empty());
}
