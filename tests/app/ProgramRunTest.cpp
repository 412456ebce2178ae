// The real DriverSetup.exe, started from a prepared setup folder.

#include "config/LangText.h"
#include "platform/Handles.h"
#include "support/MessageBoxCatcher.h"
#include "support/SetupFolder.h"

#include <gtest/gtest.h>

namespace {

struct ProgramRun {
    DWORD exitCode = 0xFFFFFFFF;
    std::vector<CaughtMessageBox> boxes;
};

ProgramRun RunProgram(const SetupFolder& folder)
{
    ProgramRun run;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    std::string exe = folder.PathOf("DriverSetup.exe");
    if (!::CreateProcessA(exe.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr,
                          folder.Root().c_str(), &startup, &process)) {
        ADD_FAILURE() << "cannot start " << exe << ": " << ::GetLastError();
        return run;
    }
    KernelHandle processHandle(process.hProcess);
    KernelHandle threadHandle(process.hThread);
    {
        MessageBoxCatcher catcher(process.dwProcessId);
        EXPECT_EQ(::WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
        run.boxes = catcher.Boxes();
    }
    ::GetExitCodeProcess(process.hProcess, &run.exitCode);
    return run;
}

} // namespace

TEST(DriverSetupProgram, RefusesAPackageForTheOtherArchitectureInTheLanguageFilesWords)
{
    SetupFolder folder;
    folder.CopyDemoPackage();
    // A 64-bit package; the 64-bit test process is the program's view of a
    // 32-bit Windows.
    folder.Set("DRVCONFIG\\setup.ini", "DEVICENAME", "Supported32OR64", "2");
    const std::string expected = g_langMsg.GetText("IDS_X32");
    ASSERT_FALSE(expected.empty());

    ProgramRun run = RunProgram(folder);
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].caption, "DriverSetup");
    EXPECT_EQ(run.boxes[0].text, expected);
    EXPECT_EQ(run.exitCode, 0u);
}

TEST(DriverSetupProgram, TheDemoPackagePassesStartUp)
{
    SetupFolder folder;
    folder.CopyDemoPackage();
    ProgramRun run = RunProgram(folder);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_EQ(run.exitCode, 0u);
}
