#include "install/DriverFileCopy.h"

#include "config/LangText.h"
#include "install/Cabinets.h"
#include "install/DeployFolders.h"
#include "install/FileSearch.h"
#include "install/FsRedirectionGuard.h"
#include "platform/SystemMessage.h"
#include "platform/Wow64.h"

#include <windows.h>

#include <cstring>

namespace {

// Buffer sizes the system is asked with, as the target systems knew them.
const DWORD kDirectoryBufferSize = 256;
const DWORD kLongDirectoryBufferSize = 260;

const char kDriverStoreFolder[] = "\\System32\\DriverStore\\FileRepository\\";

bool IsWindows2000To2003(int os)
{
    return os >= 2 && os <= 4;
}

bool IsVistaTo7(int os)
{
    return os >= 5 && os <= 7;
}

// A copy's outcome: ran is false when the redirection guard could not run it;
// error is the copy's last error.
struct CopyOutcome {
    bool ran = false;
    bool copied = false;
    DWORD error = ERROR_SUCCESS;
};

// Copies, overwriting; inside the silent redirection guard when guarded.
CopyOutcome RunCopy(const std::string& source, const std::string& destination, bool guarded)
{
    CopyOutcome outcome;
    auto copy = [&]() {
        outcome.ran = true;
        outcome.copied = ::CopyFileA(source.c_str(), destination.c_str(), FALSE) != FALSE;
        outcome.error = outcome.copied ? ERROR_SUCCESS : ::GetLastError();
        return 1;
    };
    if (guarded)
        FsRedirectionGuard(FsGuardForm::Silent, copy);
    else
        copy();
    return outcome;
}

bool IsLockedAnswer(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED;
}

// Creates a folder that a search does not find; the outcome shows at the copy.
void CreateFolderIfMissing(const std::string& folder)
{
    if (!PathFound(folder))
        ::CreateDirectoryA(folder.c_str(), nullptr);
}

// The core file from the extracted cabinets. -1: not there, take the package.
int CopyFromCabinets(const char* name, std::string& result)
{
    if (g_bExtractPending) {
        g_bExtractPending = false;
        if (!ExtractUnidrvFromCabinets())
            return -1;
    }
    std::string temp;
    if (!GetTempFolder(temp))
        return -1;
    std::string directory;
    if (!GetDriverDirectory(directory, kLongDirectoryBufferSize)) {
        result = g_langMsg.GetText("IDS_ERR_GETDRIVERDIR");
        return 0;
    }
    const CopyOutcome outcome = RunCopy(temp + name, directory + "\\" + name, false);
    return outcome.copied ? 1 : -1;
}

// The core file from the system's ntprint driver package.
int CopyFromDriverStore(const char* name, std::string& result)
{
    std::string windows;
    if (!GetWindowsFolder(windows, kLongDirectoryBufferSize)) {
        result = g_langMsg.GetText("IDS_ERR_GETWINDIR");
        return 0;
    }
    const std::string repository = windows + kDriverStoreFolder;

    FileSearch search;
    bool searched = false;
    bool found = false;
    DWORD searchError = ERROR_SUCCESS;
    auto find = [&]() {
        searched = true;
        found = search.First(repository + "ntprint*");
        searchError = found ? ERROR_SUCCESS : ::GetLastError();
        return 1;
    };
    if (g_bWow64)
        FsRedirectionGuard(FsGuardForm::Silent, find);
    else
        find();
    if (!searched)
        return 0;
    if (!found) {
        result = "Couldn't find system files.";
        std::string description;
        if (DescribeSystemError(searchError, description))
            result += "\n" + description;
        return 0;
    }

    const std::string source =
        repository + search.Found().cFileName + (g_bWow64 ? "\\AMD64\\" : "\\I386\\") + name;
    std::string directory;
    if (!GetDriverDirectory(directory, kLongDirectoryBufferSize)) {
        result = g_langMsg.GetText("IDS_ERR_GETDRIVERDIR");
        return 0;
    }
    const CopyOutcome outcome = RunCopy(source, directory + "\\" + name, g_bWow64);
    if (!outcome.ran)
        return 0;
    if (outcome.copied) {
        if (!search.Close()) {
            result = "Couldn't close search handle.";
            return 0;
        }
        return 1;
    }
    if (IsLockedAnswer(outcome.error))
        return static_cast<int>(outcome.error);
    result = g_langMsg.GetText("IDS_ERR_COPYFIEL") + name;
    std::string description;
    if (DescribeSystemError(outcome.error, description))
        result += "\n" + description + source;
    return 0;
}

// The destination folder of a kind. False with the kind's failure text in
// result when the system names no folder or the kind is unknown.
bool DestinationFolder(int kind, std::string& folder, std::string& result)
{
    bool named = false;
    const char* failureKey = nullptr;
    bool create = false;
    switch (kind) {
    case DIR_DRIVER:
    case DIR_DRIVER_3:
        named = GetDriverDirectory(folder, kDirectoryBufferSize);
        failureKey = "IDS_ERR_GETDRIVERDIR";
        create = true;
        if (named && kind == DIR_DRIVER_3) {
            // The driver directory itself must exist before its "3" folder.
            CreateFolderIfMissing(folder);
            folder += "\\3";
        }
        break;
    case DIR_PROCESSOR:
        named = GetProcessorDirectory(folder, kDirectoryBufferSize);
        failureKey = "IDS_ERR_GETPRODIR";
        create = true;
        break;
    case DIR_SYSTEM:
    case DIR_SYSTEM_IF_ABSENT:
    case DIR_WBEM_IF_ABSENT:
        named = GetSystemFolder(folder, kDirectoryBufferSize);
        failureKey = "IDS_ERR_GETSYSDIR";
        break;
    case DIR_INF:
        named = GetWindowsFolder(folder, kLongDirectoryBufferSize);
        failureKey = "IDS_ERR_GETWINDIR";
        if (named)
            folder += "\\inf";
        break;
    default:
        result = g_langMsg.GetText("IDS_ERR_DIRTYPE");
        return false;
    }
    if (!named) {
        result = g_langMsg.GetText(failureKey);
        return false;
    }
    if (create)
        CreateFolderIfMissing(folder);
    return true;
}

int CopyFromPackage(const char* name, int kind, int os, bool rename, std::string& result)
{
    // "0" is what the configuration gives for a file it does not name.
    if (name[0] == '0')
        return 0;

    std::string folder;
    if (!DestinationFolder(kind, folder, result))
        return 0;
    if (kind == DIR_SYSTEM_IF_ABSENT && PathFound(folder + "\\" + name))
        return 1;
    if (kind == DIR_WBEM_IF_ABSENT) {
        if (IsVistaTo7(os) && PathFound(folder + "\\" + name))
            return 1;
        folder += "\\wbem";
        CreateFolderIfMissing(folder);
        if (PathFound(folder + "\\" + name))
            return 1;
    }

    const std::string source = PackageFilePath(name);
    const std::string destinationName = (rename ? "n" : "") + std::string(name);
    const std::string destination = folder + "\\" + destinationName;
    // Clears a read-only attribute of the file being replaced.
    ::SetFileAttributesA(destination.c_str(), FILE_ATTRIBUTE_ARCHIVE);

    const CopyOutcome outcome = RunCopy(source, destination, kind == DIR_SYSTEM && g_bWow64);
    if (!outcome.ran)
        return 0;
    if (outcome.copied)
        return 1;
    if (IsLockedAnswer(outcome.error))
        return static_cast<int>(outcome.error);
    result = g_langMsg.GetText("IDS_ERR_COPYFIEL");
    std::string description;
    if (DescribeSystemError(outcome.error, description))
        result += destinationName + "\n" + description + g_langMsg.GetText("IDS_ERR_COPYFIEL1");
    return 0;
}

} // namespace

bool IsUnidrvCoreFile(const char* upperName)
{
    for (const char* part : {"UNIDRV", "STDNAMES", "TTFSUB", "UNIRES"}) {
        if (std::strstr(upperName, part) != nullptr)
            return true;
    }
    return false;
}

int CopyDriverFile(char* name, int kind, int targetOs, bool rename, std::string& result)
{
    ::CharUpperA(name);
    if (IsUnidrvCoreFile(name)) {
        if (IsWindows2000To2003(targetOs)) {
            const int copied = CopyFromCabinets(name, result);
            if (copied >= 0)
                return copied;
        } else if (IsVistaTo7(targetOs)) {
            return CopyFromDriverStore(name, result);
        }
    }
    return CopyFromPackage(name, kind, targetOs, rename, result);
}
