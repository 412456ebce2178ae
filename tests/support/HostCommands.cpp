#include "support/HostCommands.h"

#include "platform/Handles.h"

#include <windows.h>

#include <atomic>
#include <fstream>

namespace {

using UnixFileNameFn = char*(CDECL*)(LPCWSTR);

std::wstring Widen(const std::string& text)
{
    std::wstring wide(text.size(), L'\0');
    const int length =
        ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), &wide[0], static_cast<int>(wide.size()));
    wide.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return wide;
}

// Quoted for /bin/sh: inside single quotes nothing is special but the quote.
std::string ShellQuoted(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

std::atomic<int> g_commandCounter{0};

} // namespace

std::string UnixPathOf(const std::string& windowsPath)
{
    auto unixFileName = reinterpret_cast<UnixFileNameFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (unixFileName == nullptr)
        return std::string();
    char* path = unixFileName(Widen(windowsPath).c_str());
    if (path == nullptr)
        return std::string();
    std::string result = path;
    ::HeapFree(::GetProcessHeap(), 0, path);
    return result;
}

int RunHostCommand(const std::vector<std::string>& arguments)
{
    char temp[MAX_PATH] = {};
    ::GetTempPathA(sizeof(temp), temp);
    const std::string marker = std::string(temp) + "dshost-" + std::to_string(::GetCurrentProcessId()) + "-"
        + std::to_string(++g_commandCounter);
    const std::string unixMarker = UnixPathOf(marker);
    if (unixMarker.empty())
        return -1;

    std::string script;
    for (const std::string& argument : arguments)
        script += ShellQuoted(argument) + " ";
    // The exit code appears all at once: written aside, then renamed.
    script += "; echo $? > " + ShellQuoted(unixMarker + ".part") + " && mv " + ShellQuoted(unixMarker + ".part")
        + " " + ShellQuoted(unixMarker);
    std::string line = "/bin/sh -c \"" + script + "\"";

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    KernelHandle processHandle(process.hProcess);
    KernelHandle threadHandle(process.hThread);
    for (int wait = 0; wait < 3000; ++wait) {
        std::ifstream exitCode(marker);
        int code = -1;
        if (exitCode >> code) {
            exitCode.close();
            ::DeleteFileA(marker.c_str());
            return code;
        }
        ::Sleep(20);
    }
    return -1;
}

bool MakeCabinet(const std::string& cabinetPath, const std::vector<std::string>& files)
{
    const std::string cabinet = UnixPathOf(cabinetPath);
    if (cabinet.empty())
        return false;
    // --nopath: members are named without their folders.
    std::vector<std::string> command = {"/usr/bin/gcab", "--create", "--nopath", cabinet};
    for (const std::string& file : files)
        command.push_back(UnixPathOf(file));
    return RunHostCommand(command) == 0;
}

ImmutableFile::ImmutableFile(const std::string& windowsPath) : m_unixPath(UnixPathOf(windowsPath))
{
    m_made = !m_unixPath.empty() && RunHostCommand({"/usr/bin/chattr", "+i", m_unixPath}) == 0;
}

ImmutableFile::~ImmutableFile()
{
    if (m_made)
        RunHostCommand({"/usr/bin/chattr", "-i", m_unixPath});
}
