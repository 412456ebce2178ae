// File deployment against Wine's real folders and files: every destination
// kind, the rename flag, destinations in use or unwritable, the kinds that
// copy only absent files, the Unidrv core files from a real cabinet made here
// and from a driver store folder made here. Only the folders that Wine always
// names and the WOW64 redirection go through seams.

#include "install/Cabinets.h"
#include "install/DriverFileCopy.h"
#include "install/FileSearch.h"
#include "install/SystemFiles.h"

#include "config/LangText.h"
#include "platform/Handles.h"
#include "platform/PlatformApi.h"
#include "platform/SystemMessage.h"
#include "support/HostCommands.h"
#include "support/ScopedFileDeployApi.h"
#include "support/ScopedPlatformApi.h"
#include "support/ScopedWow64Flag.h"
#include "support/SetupFolder.h"
#include "support/SystemChanges.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char kAbsent[] = "<absent>";

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return kAbsent;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// Whether the file holds what the package file holds (without printing
// binary files when it does not).
testing::AssertionResult SameAs(const std::string& path, const std::string& packageFile)
{
    const std::string content = ReadText(path);
    if (content == kAbsent)
        return testing::AssertionFailure() << path << " is absent";
    if (content != ReadText(packageFile))
        return testing::AssertionFailure() << path << " differs from " << packageFile;
    return testing::AssertionSuccess();
}

std::string WindowsFolder()
{
    char folder[MAX_PATH] = {};
    ::GetWindowsDirectoryA(folder, sizeof(folder));
    return folder;
}

std::string TempFolder()
{
    char folder[MAX_PATH] = {};
    ::GetTempPathA(sizeof(folder), folder);
    return folder;
}

std::string Text(const char* key)
{
    return g_langMsg.GetText(key);
}

std::string Description(DWORD error)
{
    std::string description;
    DescribeSystemError(error, description);
    return description;
}

// The demo setup folder with files of the test's own in its package, so that
// no file of another test or of the system is replaced.
class FileCopy : public testing::Test {
protected:
    FileCopy()
    {
        folder.CopyDemoPackage();
        for (const char* name : {"DSCOPY.DLL", "DSLOCK.DLL", "DSABSENT.DLL"})
            folder.Write(std::string("W32\\") + name, std::string("package ") + name);
        g_bExtractPending = true;
        g_cabinetNames.clear();
    }

    int Copy(const char* name, int kind, int os = 7, bool rename = false)
    {
        buffer = name;
        return CopyDriverFile(&buffer[0], kind, os, rename, result);
    }

    SystemChanges changes;
    SetupFolder folder;
    std::string buffer;
    std::string result = "";
};

TEST_F(FileCopy, EachDestinationKindHasItsFolder)
{
    const std::string system = SystemFolderPath();
    const std::string driver = DriverFolderPath();
    const struct {
        const char* what;
        int kind;
        std::string folder;
    } cases[] = {
        {"driver", DIR_DRIVER, driver},
        {"processor", DIR_PROCESSOR, ProcessorFolderPath()},
        {"system", DIR_SYSTEM, system},
        {"system, absent file", DIR_SYSTEM_IF_ABSENT, system},
        {"wbem, absent file", DIR_WBEM_IF_ABSENT, system + "\\wbem"},
        {"inf", DIR_INF, WindowsFolder() + "\\inf"},
        {"driver's 3", DIR_DRIVER_3, driver + "\\3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string target = c.folder + "\\DSCOPY.DLL";
        ASSERT_EQ(ReadText(target), kAbsent);

        EXPECT_EQ(Copy("dscopy.dll", c.kind), 1);

        EXPECT_EQ(ReadText(target), "package DSCOPY.DLL");
        EXPECT_EQ(result, "");
        ::DeleteFileA(target.c_str());
    }
}

TEST_F(FileCopy, AnUnknownKindIsRefusedWithItsText)
{
    EXPECT_EQ(Copy("dscopy.dll", 12345), 0);
    EXPECT_EQ(result, Text("IDS_ERR_DIRTYPE"));
}

TEST_F(FileCopy, TheCallersNameIsUpperCasedInPlace)
{
    char name[] = "dsCopy.dll";

    EXPECT_EQ(CopyDriverFile(name, DIR_DRIVER, 7, false, result), 1);

    EXPECT_STREQ(name, "DSCOPY.DLL");
}

TEST_F(FileCopy, ANameStartingWithZeroIsNoFile)
{
    for (const char* name : {"0", "0DSCOPY.DLL"}) {
        SCOPED_TRACE(name);
        folder.Write(std::string("W32\\") + name, "package");
        const std::string target = DriverFolderPath() + "\\" + name;

        EXPECT_EQ(Copy(name, DIR_DRIVER), 0);

        EXPECT_EQ(result, "");
        EXPECT_EQ(ReadText(target), kAbsent);
    }
}

TEST_F(FileCopy, TheRenameFlagWritesNAndTheName)
{
    const std::string system = SystemFolderPath();

    EXPECT_EQ(Copy("dscopy.dll", DIR_SYSTEM, 7, true), 1);

    EXPECT_EQ(ReadText(system + "\\nDSCOPY.DLL"), "package DSCOPY.DLL");
    EXPECT_EQ(ReadText(system + "\\DSCOPY.DLL"), kAbsent);
}

// Destinations that the system will not let be replaced, made for real.
struct Lock {
    const char* what;
    int expected;
    // Locks the file at path for as long as the returned holder lives; an
    // empty holder means the machine cannot lock it that way.
    std::function<std::shared_ptr<void>(const std::string& path)> lock;
};

const Lock kLocks[] = {
    {"held open without sharing", COPY_IN_USE,
     [](const std::string& path) -> std::shared_ptr<void> {
         HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
         if (file == INVALID_HANDLE_VALUE)
             return nullptr;
         return std::shared_ptr<void>(file, [](void* h) { ::CloseHandle(h); });
     }},
    {"unwritable", COPY_DENIED,
     [](const std::string& path) -> std::shared_ptr<void> {
         auto file = std::make_shared<ImmutableFile>(path);
         return file->Made() ? file : nullptr;
     }},
};

TEST_F(FileCopy, ALockedDestinationIsReportedWithoutTextAndKeepsItsContent)
{
    const std::string target = SystemFolderPath() + "\\DSLOCK.DLL";
    for (const Lock& l : kLocks) {
        SCOPED_TRACE(l.what);
        WriteText(target, "installed before");
        {
            std::shared_ptr<void> held = l.lock(target);
            if (!held)
                GTEST_SKIP() << "this machine cannot make a file " << l.what;

            EXPECT_EQ(Copy("dslock.dll", DIR_SYSTEM), l.expected);
            EXPECT_EQ(result, "");

            // The same file under "n" and its name is not locked.
            EXPECT_EQ(Copy("dslock.dll", DIR_SYSTEM, 7, true), 1);
            EXPECT_EQ(ReadText(SystemFolderPath() + "\\nDSLOCK.DLL"), "package DSLOCK.DLL");
        }
        EXPECT_EQ(ReadText(target), "installed before");
        ::DeleteFileA(target.c_str());
        ::DeleteFileA((SystemFolderPath() + "\\nDSLOCK.DLL").c_str());
    }
}

TEST_F(FileCopy, AReadOnlyDestinationIsReplaced)
{
    const std::string target = DriverFolderPath() + "\\DSCOPY.DLL";
    WriteText(target, "installed before");
    ASSERT_TRUE(::SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));

    EXPECT_EQ(Copy("dscopy.dll", DIR_DRIVER), 1);

    EXPECT_EQ(ReadText(target), "package DSCOPY.DLL");
    EXPECT_EQ(::GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST_F(FileCopy, TheTwoAbsentOnlyKindsLeaveAFileTheSystemHas)
{
    const std::string system = SystemFolderPath();
    const std::string wbem = system + "\\wbem";
    const struct {
        const char* what;
        int kind;
        int os;
        std::string present; // a file the system already has
        std::string target;  // where the copy would go
        std::string expected;
    } cases[] = {
        {"system directory has it", DIR_SYSTEM_IF_ABSENT, 3, system, system, "the system's"},
        {"Vista: system directory has it", DIR_WBEM_IF_ABSENT, 5, system, wbem, kAbsent},
        {"Windows 7: system directory has it", DIR_WBEM_IF_ABSENT, 7, system, wbem, kAbsent},
        {"XP: only the system directory has it", DIR_WBEM_IF_ABSENT, 3, system, wbem, "package DSABSENT.DLL"},
        {"XP: wbem has it", DIR_WBEM_IF_ABSENT, 3, wbem, wbem, "the system's"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteText(c.present + "\\DSABSENT.DLL", "the system's");

        EXPECT_EQ(Copy("dsabsent.dll", c.kind, c.os), 1);

        EXPECT_EQ(ReadText(c.target + "\\DSABSENT.DLL"), c.expected);
        EXPECT_EQ(ReadText(c.present + "\\DSABSENT.DLL"), "the system's");
        EXPECT_EQ(result, "");
        ::DeleteFileA((system + "\\DSABSENT.DLL").c_str());
        ::DeleteFileA((wbem + "\\DSABSENT.DLL").c_str());
    }
}

TEST_F(FileCopy, AMissingPackageFileEndsWithTheCopyTextAndTheSystemsDescription)
{
    const std::string description = Description(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(description.empty());

    EXPECT_EQ(Copy("dsnosuch.dll", DIR_DRIVER), 0);
    EXPECT_EQ(result, Text("IDS_ERR_COPYFIEL") + "DSNOSUCH.DLL\n" + description + Text("IDS_ERR_COPYFIEL1"));

    // The rename flag names the destination in the text.
    EXPECT_EQ(Copy("dsnosuch.dll", DIR_SYSTEM, 7, true), 0);
    EXPECT_EQ(result, Text("IDS_ERR_COPYFIEL") + "nDSNOSUCH.DLL\n" + description + Text("IDS_ERR_COPYFIEL1"));
}

TEST_F(FileCopy, APackageWithoutItsArchitecturesFolderEndsWithTheCopyText)
{
    const std::string driverFile = DriverFolderPath() + "\\DSCOPY.DLL";
    WriteText(driverFile, "installed before");
    for (bool wow64 : {false, true}) {
        SCOPED_TRACE(wow64 ? "W64" : "W32");
        ScopedWow64Flag flag(wow64);
        SetupFolder bare;
        bare.Write(wow64 ? "W32\\DSCOPY.DLL" : "W64\\DSCOPY.DLL", "the other architecture's");

        EXPECT_EQ(Copy("dscopy.dll", DIR_DRIVER), 0);

        EXPECT_EQ(result, Text("IDS_ERR_COPYFIEL") + "DSCOPY.DLL\n" + Description(ERROR_PATH_NOT_FOUND)
                      + Text("IDS_ERR_COPYFIEL1"));
        EXPECT_EQ(ReadText(driverFile), "installed before");
    }
}

// The folders that Wine always names, refused as another system might.
BOOL WINAPI RefuseSpoolerFolder(LPSTR, LPSTR, DWORD, LPBYTE, DWORD, LPDWORD)
{
    ::SetLastError(ERROR_INVALID_ENVIRONMENT);
    return FALSE;
}

UINT WINAPI RefuseSystemFolder(LPSTR, UINT)
{
    return 0;
}

// A folder longer than the buffer: the system tells the room it needs.
UINT WINAPI NameTooLongFolder(LPSTR, UINT size)
{
    return size + 40;
}

TEST_F(FileCopy, AFolderTheSystemDoesNotNameEndsWithTheKindsText)
{
    const struct {
        const char* what;
        std::function<void()> refuse;
        int kind;
        const char* key;
    } cases[] = {
        {"driver", [] { g_fileDeployApi.getPrinterDriverDirectory = RefuseSpoolerFolder; }, DIR_DRIVER,
         "IDS_ERR_GETDRIVERDIR"},
        {"driver's 3", [] { g_fileDeployApi.getPrinterDriverDirectory = RefuseSpoolerFolder; }, DIR_DRIVER_3,
         "IDS_ERR_GETDRIVERDIR"},
        {"processor", [] { g_fileDeployApi.getPrintProcessorDirectory = RefuseSpoolerFolder; }, DIR_PROCESSOR,
         "IDS_ERR_GETPRODIR"},
        {"system", [] { g_fileDeployApi.getSystemDirectory = RefuseSystemFolder; }, DIR_SYSTEM, "IDS_ERR_GETSYSDIR"},
        {"system, too long", [] { g_fileDeployApi.getSystemDirectory = NameTooLongFolder; }, DIR_SYSTEM_IF_ABSENT,
         "IDS_ERR_GETSYSDIR"},
        {"wbem", [] { g_fileDeployApi.getSystemDirectory = RefuseSystemFolder; }, DIR_WBEM_IF_ABSENT,
         "IDS_ERR_GETSYSDIR"},
        {"inf", [] { g_fileDeployApi.getWindowsDirectory = RefuseSystemFolder; }, DIR_INF, "IDS_ERR_GETWINDIR"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScopedFileDeployApi api;
        c.refuse();

        EXPECT_EQ(Copy("dscopy.dll", c.kind), 0);
        EXPECT_EQ(result, Text(c.key));
    }
}

// ---------------------------------------------------------------------------
// 64-bit Windows: system copies run with the redirection off.

bool g_redirectionDisables = true;
std::vector<std::string> g_redirection;

BOOL WINAPI FakeDisable(PVOID* old)
{
    g_redirection.push_back("disable");
    *old = nullptr;
    return g_redirectionDisables;
}

BOOL WINAPI FakeRevert(PVOID)
{
    g_redirection.push_back("revert");
    return TRUE;
}

FARPROC WINAPI FakeGetProcAddress(HMODULE module, LPCSTR name)
{
    if (std::strcmp(name, "Wow64DisableWow64FsRedirection") == 0)
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(FakeDisable));
    if (std::strcmp(name, "Wow64RevertWow64FsRedirection") == 0)
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(FakeRevert));
    return ::GetProcAddress(module, name);
}

TEST_F(FileCopy, On64BitWindowsSystemFilesComeFromW64WithTheRedirectionOff)
{
    ScopedWow64Flag flag(true);
    ScopedPlatformApi api;
    g_platformApi.getProcAddress = FakeGetProcAddress;
    folder.Write("W64\\DSCOPY.DLL", "64-bit DSCOPY.DLL");
    g_redirection.clear();
    g_redirectionDisables = true;

    EXPECT_EQ(Copy("dscopy.dll", DIR_SYSTEM), 1);
    EXPECT_EQ(ReadText(SystemFolderPath() + "\\DSCOPY.DLL"), "64-bit DSCOPY.DLL");
    EXPECT_EQ(g_redirection, (std::vector<std::string>{"disable", "revert"}));

    // Other kinds need no guard.
    g_redirection.clear();
    EXPECT_EQ(Copy("dscopy.dll", DIR_DRIVER), 1);
    EXPECT_TRUE(g_redirection.empty());

    // A redirection that stays on fails the system copy without a text.
    ::DeleteFileA((SystemFolderPath() + "\\DSCOPY.DLL").c_str());
    g_redirectionDisables = false;
    EXPECT_EQ(Copy("dscopy.dll", DIR_SYSTEM), 0);
    EXPECT_EQ(result, "");
    EXPECT_EQ(ReadText(SystemFolderPath() + "\\DSCOPY.DLL"), kAbsent);
}

// ---------------------------------------------------------------------------
// Unidrv core files from the system: Windows 2000, XP and Server 2003.

// A real cabinet in the Driver Cache folder, made with gcab from files named
// like the core members and a few others, each holding its own member name.
class DriverCache : public FileCopy {
protected:
    void SetUp() override
    {
        m_cacheExisted = ::GetFileAttributesA(CacheRoot().c_str()) != INVALID_FILE_ATTRIBUTES;
        ::CreateDirectoryA(CacheRoot().c_str(), nullptr);
        ::CreateDirectoryA(CacheFolder().c_str(), nullptr);
        for (const std::string& name : Extracted())
            ::DeleteFileA((TempFolder() + name).c_str());
    }

    void TearDown() override
    {
        for (const std::string& name : Extracted())
            ::DeleteFileA((TempFolder() + name).c_str());
        for (const std::string& cabinet : m_cabinets)
            ::DeleteFileA(cabinet.c_str());
        if (!m_cacheExisted) {
            ::RemoveDirectoryA(CacheFolder().c_str());
            ::RemoveDirectoryA(CacheRoot().c_str());
        }
    }

    static std::string CacheRoot() { return WindowsFolder() + "\\Driver Cache"; }
    static std::string CacheFolder() { return CacheRoot() + "\\i386"; }

    // The six core members, a name that differs in case only, and others.
    static std::vector<std::string> Members()
    {
        std::vector<std::string> members(std::begin(kUnidrvCabinetMembers), std::end(kUnidrvCabinetMembers));
        members.insert(members.end(), {"UNIDRV.DLL", "unidrv2.dll", "readme.txt"});
        return members;
    }

    static std::vector<std::string> Extracted()
    {
        return {"unidrvui.dll", "unidrv.dll", "unires.dll", "unidrv.hlp", "stdnames.gpd", "ttfsub.gpd",
                "unidrv2.dll", "readme.txt"};
    }

    // Makes cabinet name from the members, each file's content its member name.
    void MakeCabinetOf(const std::string& name, const std::vector<std::string>& members)
    {
        std::vector<std::string> files;
        int n = 0;
        for (const std::string& member : members) {
            // One folder per member: two members may differ in case only.
            const std::string file = "cab" + std::to_string(n++) + "\\" + member;
            folder.Write(file, "cabinet " + member);
            files.push_back(folder.PathOf(file));
        }
        const std::string cabinet = CacheFolder() + "\\" + name;
        ASSERT_TRUE(MakeCabinet(cabinet, files)) << "gcab could not make " << cabinet;
        m_cabinets.push_back(cabinet);
    }

private:
    bool m_cacheExisted = false;
    std::vector<std::string> m_cabinets;
};

TEST_F(DriverCache, TheSixCoreMembersAndOnlyThoseAreExtracted)
{
    ASSERT_NO_FATAL_FAILURE(MakeCabinetOf("driver.cab", Members()));

    EXPECT_TRUE(ExtractUnidrvFromCabinets());

    EXPECT_EQ(g_cabinetNames, std::vector<std::string>{"driver.cab"});
    for (const char* member : kUnidrvCabinetMembers)
        EXPECT_EQ(ReadText(TempFolder() + member), std::string("cabinet ") + member) << member;
    EXPECT_EQ(ReadText(TempFolder() + "unidrv2.dll"), kAbsent);
    EXPECT_EQ(ReadText(TempFolder() + "readme.txt"), kAbsent);
}

TEST_F(DriverCache, OnWindowsXpACoreFileComesFromTheCabinets)
{
    ASSERT_NO_FATAL_FAILURE(MakeCabinetOf("driver.cab", Members()));
    char name[] = "unires.dll";

    EXPECT_EQ(CopyDriverFile(name, DIR_DRIVER, 3, false, result), 1);

    EXPECT_STREQ(name, "UNIRES.DLL");
    EXPECT_EQ(ReadText(DriverFolderPath() + "\\UNIRES.DLL"), "cabinet unires.dll");
    EXPECT_FALSE(g_bExtractPending);

    // Later core files use what the one extraction left.
    EXPECT_EQ(Copy("TTFSUB.GPD", DIR_DRIVER, 4), 1);
    EXPECT_EQ(ReadText(DriverFolderPath() + "\\TTFSUB.GPD"), "cabinet ttfsub.gpd");
    EXPECT_EQ(g_cabinetNames.size(), 1u);
}

TEST_F(DriverCache, WithoutCabinetsTheCoreFilesComeFromThePackage)
{
    for (int os : {2, 3, 4}) {
        SCOPED_TRACE(os);
        g_bExtractPending = true;

        EXPECT_EQ(Copy("unires.dll", DIR_DRIVER, os), 1);

        EXPECT_TRUE(g_cabinetNames.empty());
        EXPECT_TRUE(SameAs(DriverFolderPath() + "\\UNIRES.DLL", folder.PathOf("W32\\UNIRES.DLL")));
        ::DeleteFileA((DriverFolderPath() + "\\UNIRES.DLL").c_str());
    }
}

TEST_F(DriverCache, ACabinetWithoutTheFileLeavesItToThePackage)
{
    ASSERT_NO_FATAL_FAILURE(MakeCabinetOf("other.cab", {"readme.txt"}));

    EXPECT_EQ(Copy("stdnames.gpd", DIR_DRIVER, 3), 1);

    EXPECT_TRUE(SameAs(DriverFolderPath() + "\\STDNAMES.GPD", folder.PathOf("W32\\STDNAMES.GPD")));
}

// ---------------------------------------------------------------------------
// Unidrv core files from the system: Vista, Server 2008 and Windows 7.

class DriverStore : public FileCopy {
protected:
    void SetUp() override
    {
        const std::string system = WindowsFolder() + "\\System32";
        m_created = {system + "\\DriverStore", system + "\\DriverStore\\FileRepository"};
        for (auto& folder : m_created)
            m_existed.push_back(::GetFileAttributesA(folder.c_str()) != INVALID_FILE_ATTRIBUTES);
    }

    void TearDown() override
    {
        for (const std::string& file : m_files)
            ::DeleteFileA(file.c_str());
        for (auto folder = m_folders.rbegin(); folder != m_folders.rend(); ++folder)
            ::RemoveDirectoryA(folder->c_str());
        for (size_t i = m_created.size(); i-- > 0;) {
            if (!m_existed[i])
                ::RemoveDirectoryA(m_created[i].c_str());
        }
    }

    static std::string Repository() { return WindowsFolder() + "\\System32\\DriverStore\\FileRepository"; }

    // An ntprint package folder holding the core file for 32-bit Windows.
    void MakeNtprintPackage(const std::string& file, const std::string& content)
    {
        for (const std::string& f : m_created)
            ::CreateDirectoryA(f.c_str(), nullptr);
        const std::string package = Repository() + "\\ntprint.inf_x86_dstest";
        for (const std::string& f : {package, package + "\\I386"}) {
            ::CreateDirectoryA(f.c_str(), nullptr);
            m_folders.push_back(f);
        }
        WriteText(package + "\\I386\\" + file, content);
        m_files.push_back(package + "\\I386\\" + file);
    }

private:
    std::vector<std::string> m_created;
    std::vector<bool> m_existed;
    std::vector<std::string> m_folders;
    std::vector<std::string> m_files;
};

TEST_F(DriverStore, WithoutAnNtprintPackageTheSystemFilesAreNotFound)
{
    FileSearch probe;
    if (probe.First(Repository() + "\\ntprint*"))
        GTEST_SKIP() << "this system has an ntprint package";
    const DWORD searchError = ::GetLastError();

    for (int os : {5, 6, 7}) {
        SCOPED_TRACE(os);
        EXPECT_EQ(Copy("unidrv.dll", DIR_DRIVER, os), 0);

        EXPECT_EQ(result, "Couldn't find system files.\n" + Description(searchError));
        // The package is not tried.
        EXPECT_EQ(ReadText(DriverFolderPath() + "\\UNIDRV.DLL"), kAbsent);
    }
}

TEST_F(DriverStore, ACoreFileComesFromTheNtprintPackage)
{
    MakeNtprintPackage("UNIDRVUI.DLL", "driver store UNIDRVUI.DLL");

    EXPECT_EQ(Copy("unidrvui.dll", DIR_DRIVER, 7), 1);

    EXPECT_EQ(ReadText(DriverFolderPath() + "\\UNIDRVUI.DLL"), "driver store UNIDRVUI.DLL");
    EXPECT_EQ(result, "");
}

TEST_F(DriverStore, ALockedDestinationIsReportedWithoutText)
{
    MakeNtprintPackage("UNIDRV.DLL", "driver store UNIDRV.DLL");
    const std::string target = DriverFolderPath() + "\\UNIDRV.DLL";
    for (const Lock& l : kLocks) {
        SCOPED_TRACE(l.what);
        WriteText(target, "installed before");
        {
            std::shared_ptr<void> held = l.lock(target);
            if (!held)
                GTEST_SKIP() << "this machine cannot make a file " << l.what;

            EXPECT_EQ(Copy("unidrv.dll", DIR_DRIVER, 7), l.expected);
            EXPECT_EQ(result, "");
        }
        EXPECT_EQ(ReadText(target), "installed before");
        ::DeleteFileA(target.c_str());
    }
}

TEST_F(DriverStore, AMissingCoreFileNamesItAndTheSource)
{
    MakeNtprintPackage("UNIDRV.DLL", "driver store UNIDRV.DLL");

    EXPECT_EQ(Copy("unires.dll", DIR_DRIVER, 6), 0);

    const std::string source = Repository() + "\\ntprint.inf_x86_dstest\\I386\\UNIRES.DLL";
    EXPECT_EQ(result, Text("IDS_ERR_COPYFIEL") + "UNIRES.DLL\n" + Description(ERROR_FILE_NOT_FOUND) + source);
}

// ---------------------------------------------------------------------------
// The Unidrv set of the target system.

TEST_F(FileCopy, DdkDriversGetTheThreeUnidrvSupportFiles)
{
    for (bool ddk : {false, true}) {
        SCOPED_TRACE(ddk);
        RestoreSystemFiles(3, ddk, result);

        for (const char* name : {"TTFSUB.GPD", "STDNAMES.GPD", "UNIRES.DLL"}) {
            const std::string target = DriverFolderPath() + "\\" + name;
            if (ddk)
                EXPECT_TRUE(SameAs(target, folder.PathOf(std::string("W32\\") + name)));
            else
                EXPECT_EQ(ReadText(target), kAbsent) << name;
        }
    }
    EXPECT_EQ(result, "");
}

class Windows98Unidrv : public FileCopy {
protected:
    void TearDown() override
    {
        ::DeleteFileA(m_backup.c_str());
        ::RemoveDirectoryA((WindowsFolder() + "\\Sysbckup").c_str());
    }

    void MakeBackup()
    {
        ::CreateDirectoryA((WindowsFolder() + "\\Sysbckup").c_str(), nullptr);
        WriteText(m_backup, "backup UNIDRV.DLL");
    }

    const std::string m_backup = WindowsFolder() + "\\Sysbckup\\UNIDRV.DLL";
    const std::string m_system = SystemFolderPath() + "\\UNIDRV.DLL";
    const std::string m_driver = DriverFolderPath() + "\\UNIDRV.DLL";
};

TEST_F(Windows98Unidrv, APresentUnidrvStaysAsItIs)
{
    if (ReadText(m_system) == kAbsent)
        WriteText(m_system, "the system's UNIDRV.DLL");
    const std::string before = ReadText(m_system);
    MakeBackup();

    RestoreSystemFiles(0, false, result);

    EXPECT_EQ(ReadText(m_system), before);
    EXPECT_EQ(ReadText(m_driver), kAbsent);
}

TEST_F(Windows98Unidrv, TheBackupIsRestoredElseThePackagedCopyGoesToTheDriverFolder)
{
    if (ReadText(m_system) != kAbsent)
        GTEST_SKIP() << "this system has UNIDRV.DLL";

    RestoreSystemFiles(0, false, result);
    EXPECT_EQ(ReadText(m_system), kAbsent);
    EXPECT_TRUE(SameAs(m_driver, folder.PathOf("W32\\UNIDRV.DLL")));

    ::DeleteFileA(m_driver.c_str());
    MakeBackup();
    RestoreSystemFiles(0, false, result);
    EXPECT_EQ(ReadText(m_system), "backup UNIDRV.DLL");
    EXPECT_EQ(ReadText(m_driver), kAbsent);
}

} // namespace
