// The stand-ins of the maker's USB components and utility in the demo
// package: where they are, what the started programs record and do, and that
// the USB print DLL keeps to its caller's buffer.

#include "config/ProfileReader.h"
#include "platform/Handles.h"
#include "support/SetupFolder.h"
#include "support/SimulatedUsb.h"

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::string Package()
{
    return BuildFolder() + "package\\";
}

// Machine field of a PE file's header, 0 when it is not one.
WORD MachineOf(const std::string& path)
{
    const std::string bytes = ReadWholeFile(path);
    if (bytes.size() < 0x40 || bytes.compare(0, 2, "MZ") != 0)
        return 0;
    DWORD peOffset = 0;
    std::memcpy(&peOffset, bytes.data() + 0x3C, sizeof(peOffset));
    if (bytes.size() < peOffset + 6 || bytes.compare(peOffset, 4, std::string("PE\0\0", 4)) != 0)
        return 0;
    WORD machine = 0;
    std::memcpy(&machine, bytes.data() + peOffset + 4, sizeof(machine));
    return machine;
}

// Runs a program of the setup folder to its end; its exit code.
DWORD RunToEnd(const std::string& program, const std::string& parameters)
{
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = "open";
    info.lpFile = program.c_str();
    info.lpParameters = parameters.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!::ShellExecuteExA(&info) || info.hProcess == nullptr)
        return static_cast<DWORD>(-1);
    KernelHandle process(info.hProcess);
    EXPECT_EQ(::WaitForSingleObject(process.Get(), 20000), WAIT_OBJECT_0);
    DWORD code = 0;
    ::GetExitCodeProcess(process.Get(), &code);
    return code;
}

} // namespace

TEST(UsbStandins, ThePackageHoldsThemWhereTheSetupLooks)
{
    char utility[200] = {};
    ReadProfileText((Package() + "DRVCONFIG\\setup.ini").c_str(), "DEVICENAME", "SHELLEXENAME", "0", utility);
    char inf[200] = {};
    ReadProfileText((Package() + "DRVCONFIG\\setup.ini").c_str(), "DEVICENAME", "Inffilename", "err", inf);
    const std::vector<std::string> files = {
        "TvUsbInt.dll",
        "USBPrintDll.dll",
        "USBDRV\\USBDriver\\Install.exe",
        "USBDRV\\USBDriver\\TVPUSB.sys",
        "USBDRV\\USBDriver\\TVPUSB.INF",
        "USBDRV\\USBDriver_x64\\Install.exe",
        "USBDRV\\USBDriver_x64\\TVPUSB.sys",
        "USBDRV\\USBDriver_x64\\TVPUSB.INF",
        std::string("Utility\\") + utility + ".exe",
        std::string("W32\\") + inf + "32.inf",
        std::string("W64\\") + inf + "64.inf",
    };
    for (const std::string& file : files)
        EXPECT_NE(::GetFileAttributesA((Package() + file).c_str()), INVALID_FILE_ATTRIBUTES) << file;
    // The 64-bit folder holds 64-bit programs whatever the build.
    for (const char* file : {"Install.exe", "TVPUSB.sys"})
        EXPECT_EQ(MachineOf(Package() + "USBDRV\\USBDriver_x64\\" + file), IMAGE_FILE_MACHINE_AMD64) << file;
}

TEST(UsbStandins, TheUtilityRecordsItsParameters)
{
    SetupFolder folder;
    CopyPackageFiles(folder, {"Utility\\TVUtility.exe"});
    EXPECT_EQ(RunToEnd(folder.PathOf("Utility\\TVUtility.exe"), "/VERYSILENT"), 0u);
    EXPECT_EQ(RunToEnd(folder.PathOf("Utility\\TVUtility.exe"), "\"a b\" c"), 0u);
    EXPECT_EQ(ReadLines(folder.PathOf("Utility\\TVUtility.log")),
              (std::vector<std::string>{"/VERYSILENT", "\"a b\" c"}));
}

TEST(UsbStandins, TheInstallerInstallsTheDriverOnlyWhenAskedWithTwo)
{
    SetupFolder folder;
    CopyPackageFiles(folder, {"USBDRV\\USBDriver\\Install.exe", "USBDRV\\USBDriver\\TVPUSB.sys"});
    const std::string installer = folder.PathOf("USBDRV\\USBDriver\\Install.exe");
    InstalledUsbDriver none;

    const std::string classPrinter = " 3 \"C:\\Setup Folder\\W32\\POS32.inf\" USB\\VID_7A3D&PID_1006 0";
    EXPECT_EQ(RunToEnd(installer, classPrinter), 0u);
    EXPECT_EQ(::GetFileAttributesA(InstalledUsbDriver::Path().c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(RunToEnd(installer, "9"), 1u);
    EXPECT_EQ(::GetFileAttributesA(InstalledUsbDriver::Path().c_str()), INVALID_FILE_ATTRIBUTES);

    EXPECT_EQ(RunToEnd(installer, "2"), 0u);
    EXPECT_EQ(ReadWholeFile(InstalledUsbDriver::Path()), ReadWholeFile(folder.PathOf("USBDRV\\USBDriver\\TVPUSB.sys")));
    EXPECT_EQ(ReadLines(folder.PathOf("USBDRV\\USBDriver\\Install.log")),
              (std::vector<std::string>{classPrinter, "9", "2"}));
}

// The DLL knows its caller's buffer only by agreement: 1024 bytes, whatever
// the list holds.
TEST(UsbStandins, ThePrinterListStaysInsideTheCallersBuffer)
{
    SetupFolder folder;
    CopyPackageFiles(folder, {"USBPrintDll.dll"});
    std::string list;
    for (int i = 0; i < 500; ++i)
        list += std::to_string(i) + " 0 MODEL-" + std::string(i % 50, 'x') + std::to_string(i) + " " +
                std::to_string(i % 10) + "\n";
    folder.Write("UsbPrinters.txt", list);
    ModuleHandle dll(::LoadLibraryA(folder.PathOf("USBPrintDll.dll").c_str()));
    ASSERT_TRUE(dll);
    auto enumPrinters = reinterpret_cast<int(WINAPI*)(char*)>(
        reinterpret_cast<void*>(::GetProcAddress(dll.Get(), "EnumUSBPrinter")));
    ASSERT_NE(enumPrinters, nullptr);

    std::vector<char> buffer(2048, '\x5A');
    std::memset(buffer.data(), 0, 1024);
    const int listed = enumPrinters(buffer.data());
    EXPECT_GT(listed, 10);
    EXPECT_LT(listed, 500);
    EXPECT_LT(std::strlen(buffer.data()), 1024u);
    EXPECT_EQ(std::string(buffer.begin() + 1024, buffer.end()), std::string(1024, '\x5A'));
    // Whole entries only: the text ends with the last listed printer's.
    const int last = listed - 1;
    const std::string port = last % 10 != 0 ? std::to_string(last % 10) + "@" : "-";
    const std::string entry = "MODEL-" + std::string(last % 50, 'x') + std::to_string(last) + ":" + port;
    const std::string text(buffer.data());
    ASSERT_GE(text.size(), entry.size());
    EXPECT_EQ(text.substr(text.size() - entry.size()), entry);
}
