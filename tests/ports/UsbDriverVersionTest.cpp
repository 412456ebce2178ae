// The installed USB driver's version and the comparison with the packaged
// one: real driver files in the setup folder and in the system's drivers
// folder of the Wine session; the WOW64 redirection functions through the
// platform seam where Wine's answer is not the one to test.

#include "ports/UsbDriverVersion.h"

#include "afx/AfxWin.h"
#include "support/MessageBoxCatcher.h"
#include "support/ScopedPlatformApi.h"
#include "support/ScopedWow64Flag.h"
#include "support/SetupFolder.h"
#include "support/SimulatedUsb.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string DriverOfVersion(const std::string& version)
{
    if (version == "2.0.1.5")
        return BuildFolder() + "package\\USBDRV\\USBDriver_x64\\TVPUSB.sys";
    return StandinBuildFile("TVPUSB-" + version + ".sys");
}

// The comparison as joining the characters at even positions (at most four)
// and reading them as a decimal number would answer.
int JoinedDigitsAnswer(const std::string& packaged, const std::string& installed)
{
    if (packaged == installed)
        return 0;
    auto joined = [](const std::string& text) {
        std::string digits;
        for (size_t i = 0; i < text.size() && digits.size() < 4; i += 2)
            digits += text[i];
        return std::atoi(digits.c_str());
    };
    const int i = joined(installed);
    if (i == 0)
        return -1;
    return joined(packaged) > i ? 1 : 0;
}

} // namespace

TEST(CompareVersionTexts, ComparesTheFourNumbers)
{
    const struct Case {
        const char* packaged;
        const char* installed;
        int expected;
    } cases[] = {
        {"2.0.1.5", "2.0.1.4", kUsbDriverPackagedNewer},
        {"2.0.1.4", "2.0.1.4", kUsbDriverUpToDate},
        {"2.0.1.4", "2.0.1.5", kUsbDriverUpToDate},
        {"2.0.1.5", "0.0.0.0", kUsbDriverNotInstalled},
        {"0.0.0.0", "2.0.1.4", kUsbDriverUpToDate},
        {"0.0.0.0", "0.0.0.0", kUsbDriverUpToDate},
        {"3.0.0.0", "2.9.9.9", kUsbDriverPackagedNewer},
        // Parts of two digits, where joining digits would answer wrongly.
        {"2.0.10.0", "2.0.9.0", kUsbDriverPackagedNewer},
        {"2.0.9.0", "2.0.10.0", kUsbDriverUpToDate},
        {"10.0.0.0", "9.9.9.9", kUsbDriverPackagedNewer},
        // Texts in other forms.
        {"2, 0, 1, 5", "2.0.1.4", kUsbDriverPackagedNewer},
        {"2.0.1.5", "2, 0, 1, 5", kUsbDriverUpToDate},
        {"2.1", "2.0.1.4", kUsbDriverPackagedNewer},
        {"2.0.1.5", "", kUsbDriverNotInstalled},
        {"2.0.1.5", "unknown", kUsbDriverNotInstalled},
        {"", "", kUsbDriverUpToDate},
        {"2.0.1.5.9", "2.0.1.5", kUsbDriverUpToDate},
        // A long run of digits does not wrap round to a small number.
        {"99999999999999999999.0.0.0", "1.0.0.0", kUsbDriverPackagedNewer},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CompareVersionTexts(c.packaged, c.installed), c.expected) << c.packaged << " / " << c.installed;
}

// The decision to compare numbers keeps every answer for versions with one
// digit per part.
TEST(CompareVersionTexts, AnswersAsJoinedDigitsForOneDigitParts)
{
    std::vector<std::string> versions;
    for (int a : {0, 1, 2, 9})
        for (int b : {0, 3, 9})
            for (int c : {0, 1, 9})
                for (int d : {0, 4, 5})
                    versions.push_back(std::to_string(a) + "." + std::to_string(b) + "." + std::to_string(c) + "."
                                       + std::to_string(d));
    for (const std::string& packaged : versions) {
        for (const std::string& installed : versions) {
            ASSERT_EQ(CompareVersionTexts(packaged, installed), JoinedDigitsAnswer(packaged, installed))
                << packaged << " / " << installed;
        }
    }
}

TEST(CompareUsbDriverVersion, ComparesThePackagedDriverWithTheInstalledOne)
{
    const struct Case {
        const char* packaged; // nullptr: not in the package
        const char* installed; // nullptr: not installed
        int expected;
    } cases[] = {
        {"2.0.1.5", "2.0.1.4", kUsbDriverPackagedNewer},
        {"2.0.1.5", "2.0.1.5", kUsbDriverUpToDate},
        {"2.0.1.4", "2.0.1.5", kUsbDriverUpToDate},
        {"2.0.1.5", nullptr, kUsbDriverNotInstalled},
        {nullptr, "2.0.1.4", kUsbDriverUpToDate},
        {nullptr, nullptr, kUsbDriverUpToDate},
        {"2.0.10.0", "2.0.9.0", kUsbDriverPackagedNewer},
    };
    for (bool wow64 : {false, true}) {
        ScopedWow64Flag flag(wow64);
        const std::string folder = wow64 ? "USBDRV\\USBDriver_x64\\" : "USBDRV\\USBDriver\\";
        for (const auto& c : cases) {
            SetupFolder setup;
            if (c.packaged != nullptr)
                CopyIntoFolder(setup, folder + "TVPUSB.sys", DriverOfVersion(c.packaged));
            InstalledUsbDriver installed(c.installed != nullptr ? DriverOfVersion(c.installed) : "");
            MessageBoxCatcher catcher;
            EXPECT_EQ(CompareUsbDriverVersion(), c.expected)
                << (c.packaged ? c.packaged : "none") << " / " << (c.installed ? c.installed : "none")
                << (wow64 ? ", 64-bit" : ", 32-bit");
            // Wine cannot switch the redirection off; the comparison goes on
            // without a word.
            EXPECT_TRUE(catcher.Boxes().empty());
        }
    }
}

namespace {

struct FakeKernel {
    bool loads = true;
    bool hasDisable = true;
    bool hasRevert = true;
    BOOL disableAnswer = TRUE;
};

FakeKernel g_kernel;
std::vector<std::string> g_calls;
PVOID const kSavedState = reinterpret_cast<PVOID>(static_cast<ULONG_PTR>(0x5EED));

BOOL WINAPI FakeDisable(PVOID* oldState)
{
    g_calls.push_back("disable");
    *oldState = kSavedState;
    return g_kernel.disableAnswer;
}

BOOL WINAPI FakeRevert(PVOID oldState)
{
    g_calls.push_back(oldState == kSavedState ? "revert saved" : "revert other");
    return TRUE;
}

HMODULE WINAPI FakeLoadLibrary(LPCSTR name)
{
    if (!g_kernel.loads && _stricmp(name, "Kernel32.dll") == 0) {
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

using Calls = std::vector<std::string>;

} // namespace

TEST(ReadInstalledUsbDriverVersion, ReadsTheDriverInTheSystemsDriversFolder)
{
    ScopedWow64Flag flag(false);
    {
        InstalledUsbDriver installed(DriverOfVersion("2.0.1.4"));
        EXPECT_EQ(ReadInstalledUsbDriverVersion(), "2.0.1.4");
    }
    InstalledUsbDriver none;
    EXPECT_EQ(ReadInstalledUsbDriverVersion(), "0.0.0.0");
}

// In Wine's 64-bit process the redirection cannot be switched off (error 1):
// on "64-bit Windows" that is the empty text.
TEST(ReadInstalledUsbDriverVersion, IsEmptyWhenTheRedirectionStaysOn)
{
    ScopedWow64Flag flag(true);
    InstalledUsbDriver installed(DriverOfVersion("2.0.1.4"));
    EXPECT_EQ(ReadInstalledUsbDriverVersion(), "");
}

TEST(ReadInstalledUsbDriverVersion, ReadsBetweenSwitchingTheRedirectionOffAndOn)
{
    ScopedWow64Flag flag(true);
    ScopedPlatformApi api;
    g_platformApi.loadLibrary = FakeLoadLibrary;
    g_platformApi.getProcAddress = FakeGetProcAddress;
    InstalledUsbDriver installed(DriverOfVersion("2.0.1.4"));
    const struct Case {
        const char* what;
        FakeKernel kernel;
        const char* version;
        Calls calls;
    } cases[] = {
        {"redirection off", {true, true, true, TRUE}, "2.0.1.4", {"disable", "revert saved"}},
        {"redirection stays on", {true, true, true, FALSE}, "", {"disable"}},
        {"no Kernel32.dll", {false, true, true, TRUE}, "", {}},
        {"no disable function", {true, false, true, TRUE}, "", {}},
        // Never switched off without the means to switch it back on.
        {"no revert function", {true, true, false, TRUE}, "", {}},
    };
    for (const auto& c : cases) {
        g_kernel = c.kernel;
        g_calls.clear();
        MessageBoxCatcher catcher;
        EXPECT_EQ(ReadInstalledUsbDriverVersion(), c.version) << c.what;
        EXPECT_EQ(g_calls, c.calls) << c.what;
        EXPECT_TRUE(catcher.Boxes().empty()) << c.what;
    }
}

// The comparison says what is missing for reading past the redirection, and
// compares with what it could read.
TEST(CompareUsbDriverVersion, ShowsWhatIsMissingForTheRedirection)
{
    ScopedWow64Flag flag(true);
    ScopedPlatformApi api;
    g_platformApi.loadLibrary = FakeLoadLibrary;
    g_platformApi.getProcAddress = FakeGetProcAddress;
    CWinApp app;
    SetupFolder setup;
    CopyPackageFiles(setup, {"USBDRV\\USBDriver_x64\\TVPUSB.sys"});
    InstalledUsbDriver installed(DriverOfVersion("2.0.1.4"));
    const struct Case {
        const char* what;
        FakeKernel kernel;
        std::vector<std::string> boxes;
    } cases[] = {
        {"all there", {true, true, true, TRUE}, {}},
        {"no Kernel32.dll", {false, true, true, TRUE}, {"Can't Load Kernel32.dll"}},
        {"no disable function", {true, false, true, TRUE},
         {"Can't Get Function Wow64DisableWow64FsRedirection Address"}},
        {"no revert function", {true, true, false, TRUE}, {"Can't Get Function Wow64RevertWow64FsRedirection Address"}},
    };
    for (const auto& c : cases) {
        g_kernel = c.kernel;
        MessageBoxCatcher catcher;
        EXPECT_EQ(CompareUsbDriverVersion(), kUsbDriverPackagedNewer) << c.what;
        std::vector<std::string> boxes;
        for (const CaughtMessageBox& box : catcher.Boxes())
            boxes.push_back(box.text);
        EXPECT_EQ(boxes, c.boxes) << c.what;
    }
}
