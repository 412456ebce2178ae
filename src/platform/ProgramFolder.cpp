#include "platform/ProgramFolder.h"

#include "platform/BoundedText.h"
#include "platform/PlatformApi.h"

#include <windows.h>

std::string GetProgramFolder()
{
    // Larger than any ANSI module path, so that a full buffer means failure.
    char path[1024] = {};
    DWORD len = g_platformApi.getModuleFileName(nullptr, path, sizeof(path));
    if (len == 0 || len >= sizeof(path))
        return std::string();
    path[len] = '\0';
    const char* slash = std::strrchr(path, '\\');
    if (slash == nullptr)
        return std::string();
    return std::string(path, static_cast<size_t>(slash + 1 - path));
}

bool BuildProgramFilePath(const char* relative, char* out, size_t size)
{
    if (size == 0)
        return false;
    out[0] = '\0';
    std::string folder = GetProgramFolder();
    if (folder.empty())
        return false;
    std::string full = folder + relative;
    if (full.size() >= size)
        return false;
    return CopyText(out, size, full.c_str());
}
