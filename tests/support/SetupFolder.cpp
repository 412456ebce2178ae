#include "support/SetupFolder.h"

#include "config/LangText.h"
#include "platform/PlatformApi.h"

#include <windows.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

std::string g_fakeProgramPath;
std::atomic<int> g_folderCounter{0};

DWORD WINAPI FakeGetModuleFileName(HMODULE, LPSTR path, DWORD size)
{
    if (size == 0)
        return 0;
    DWORD len = static_cast<DWORD>(g_fakeProgramPath.size());
    if (len >= size) {
        std::memcpy(path, g_fakeProgramPath.data(), size);
        path[size - 1] = '\0';
        ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    std::memcpy(path, g_fakeProgramPath.c_str(), len + 1);
    return len;
}

std::string MakeTempRoot()
{
    char temp[MAX_PATH] = {};
    ::GetTempPathA(sizeof(temp), temp);
    std::string root = std::string(temp) + "dstest-" + std::to_string(::GetCurrentProcessId()) + "-"
        + std::to_string(++g_folderCounter) + "\\";
    fs::remove_all(root);
    fs::create_directories(root);
    return root;
}

// Copies the files under from into to (both with trailing backslashes).
void CopyTree(const std::string& from, const std::string& to)
{
    ::CreateDirectoryA(to.c_str(), nullptr);
    WIN32_FIND_DATAA entry;
    HANDLE find = ::FindFirstFileA((from + "*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot read " + from);
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..")
            continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CopyTree(from + name + "\\", to + name + "\\");
        else if (!::CopyFileA((from + name).c_str(), (to + name).c_str(), FALSE))
            throw std::runtime_error("cannot copy " + from + name);
    } while (::FindNextFileA(find, &entry));
    ::FindClose(find);
}

} // namespace

SetupFolder::SetupFolder() : m_root(MakeTempRoot()), m_programPath(m_root + "DriverSetup.exe")
{
    BecomeProgramFolder();
}

SetupFolder::SetupFolder(size_t programPathLength) : m_root(MakeTempRoot())
{
    const std::string tail = "\\DriverSetup.exe";
    std::string folder = m_root + "deep";
    if (folder.size() + tail.size() < programPathLength)
        folder.append(programPathLength - folder.size() - tail.size(), 'x');
    m_programPath = folder + tail;
    BecomeProgramFolder();
}

SetupFolder::~SetupFolder()
{
    g_platformApi.getModuleFileName = m_savedGetModuleFileName;
    g_fakeProgramPath.clear();
    g_langMsg = CLangText("Message");
    std::error_code ignored;
    fs::remove_all(m_root, ignored);
}

void SetupFolder::BecomeProgramFolder()
{
    m_savedGetModuleFileName = g_platformApi.getModuleFileName;
    g_fakeProgramPath = m_programPath;
    g_platformApi.getModuleFileName = FakeGetModuleFileName;
    // The language texts fix their file's path when they are built.
    g_langMsg = CLangText("Message");
}

void SetupFolder::Write(const std::string& relative, const std::string& content) const
{
    fs::path path(PathOf(relative));
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

void SetupFolder::Set(const std::string& relative, const std::string& section, const std::string& key,
                      const std::string& value) const
{
    fs::create_directories(fs::path(PathOf(relative)).parent_path());
    ::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), PathOf(relative).c_str());
}

void SetupFolder::Catalogue(const std::vector<std::string>& entries) const
{
    Set("DRVCONFIG\\setup.ini", "DEVICENAME", "DEVICENUMBER", std::to_string(entries.size()));
    for (size_t i = 0; i < entries.size(); ++i)
        Set("DRVCONFIG\\setup.ini", "DEVICENAME", "DEVICENAME" + std::to_string(i + 1), entries[i]);
}

void SetupFolder::Language(const std::vector<std::pair<std::string, std::string>>& keys) const
{
    for (const auto& [section, key] : keys)
        Set("language\\setup.ini", section, key, section + "/" + key);
}

void SetupFolder::CopyDemoPackage() const
{
    CopyTree(BuildFolder() + "package\\", m_root);
}

std::string WindowsPathOfHostPath(const std::string& hostPath)
{
    std::string path = "Z:" + hostPath;
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return path;
}

std::string BuildFolder()
{
    return WindowsPathOfHostPath(DRIVERSETUP_BUILD_DIR) + "\\";
}
