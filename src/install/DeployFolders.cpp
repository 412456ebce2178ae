#include "install/DeployFolders.h"

#include "install/FileDeployApi.h"
#include "install/FileSearch.h"
#include "platform/ProgramFolder.h"
#include "platform/Wow64.h"

#include <vector>

namespace {

using SpoolerFolderFn = BOOL(WINAPI*)(LPSTR, LPSTR, DWORD, LPBYTE, DWORD, LPDWORD);
using SystemFolderFn = UINT(WINAPI*)(LPSTR, UINT);

bool AskSpooler(SpoolerFolderFn ask, std::string& directory, DWORD size)
{
    directory.clear();
    std::vector<char> buffer(size + 1, '\0');
    DWORD needed = 0;
    if (!ask(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(buffer.data()), size, &needed))
        return false;
    // The spooler's text ends within the buffer it was given; the extra byte
    // stops a reading past it should one not.
    directory = buffer.data();
    return !directory.empty();
}

bool AskSystem(SystemFolderFn ask, std::string& directory, UINT size)
{
    directory.clear();
    std::vector<char> buffer(size + 1, '\0');
    const UINT length = ask(buffer.data(), size);
    // 0 is a failure; a length of size or more is the room the path needs.
    if (length == 0 || length >= size)
        return false;
    directory.assign(buffer.data(), length);
    return true;
}

} // namespace

bool GetDriverDirectory(std::string& directory, DWORD bufferSize)
{
    return AskSpooler(g_fileDeployApi.getPrinterDriverDirectory, directory, bufferSize);
}

bool GetProcessorDirectory(std::string& directory, DWORD bufferSize)
{
    return AskSpooler(g_fileDeployApi.getPrintProcessorDirectory, directory, bufferSize);
}

bool GetSystemFolder(std::string& directory, UINT bufferSize)
{
    return AskSystem(g_fileDeployApi.getSystemDirectory, directory, bufferSize);
}

bool GetWindowsFolder(std::string& directory, UINT bufferSize)
{
    return AskSystem(g_fileDeployApi.getWindowsDirectory, directory, bufferSize);
}

bool GetTempFolder(std::string& directory)
{
    directory.clear();
    char buffer[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathA(MAX_PATH, buffer);
    if (length == 0 || length >= MAX_PATH)
        return false;
    directory.assign(buffer, length);
    return true;
}

std::string PackageFilePath(const char* name)
{
    return GetProgramFolder() + (g_bWow64 ? "W64\\" : "W32\\") + name;
}

bool PathFound(const std::string& path)
{
    FileSearch search;
    return search.First(path);
}
