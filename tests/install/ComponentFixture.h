#pragma once
// What the monitor, processor and update tests share: the demo setup folder,
// an install context for a port, Wine's registry read back, and the session
// put back as it was afterwards.

#include "install/MonitorChecks.h"

#include "platform/PlatformApi.h"
#include "support/PreparedInstall.h"
#include "support/RecordedWaits.h"
#include "support/RegistryProbe.h"
#include "support/ScopedPlatformApi.h"
#include "support/ScopedWow64Flag.h"
#include "support/SetupFolder.h"
#include "support/SystemChanges.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace component_test {

const char kComMonitor[] = "TALVORN COM Port";
const char kUsbMonitor[] = "TALVORN USB Port";
const char kLanguageMonitor[] = "TALVORN Language Monitor";
const char kProcessor[] = "TVPrintProc";

inline std::string MonitorKey(const char* monitor)
{
    return MonitorKeyPath(monitor);
}

// A REG_DWORD value, or -1 when the value is missing or of another kind.
inline long long DwordValue(const std::string& key, const char* name)
{
    const RawValue value = ReadRaw(key, name);
    if (value.status != ERROR_SUCCESS || value.type != REG_DWORD || value.data.size() != 4)
        return -1;
    DWORD number = 0;
    std::memcpy(&number, value.data.data(), 4);
    return number;
}

// A REG_SZ value without its zero, or "<none>".
inline std::string TextValue(const std::string& key, const char* name)
{
    const RawValue value = ReadRaw(key, name);
    if (value.status != ERROR_SUCCESS || value.type != REG_SZ)
        return "<none>";
    return std::string(value.data.c_str());
}

inline void SetDword(const std::string& key, const char* name, DWORD value)
{
    HKEY handle = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle,
                                nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExA(handle, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    ::RegCloseKey(handle);
}

inline void SetText(const std::string& key, const char* name, const std::string& value)
{
    HKEY handle = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle,
                                nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExA(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1));
    ::RegCloseKey(handle);
}

inline void DeleteValue(const std::string& key, const char* name)
{
    HKEY handle = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_ALL_ACCESS, &handle) == ERROR_SUCCESS) {
        ::RegDeleteValueA(handle, name);
        ::RegCloseKey(handle);
    }
}

inline std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return "<absent>";
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline bool FileExists(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The WOW64 redirection functions of a 64-bit system, which the 64-bit test
// process has no use for: they succeed and change nothing.
inline BOOL WINAPI NoRedirectionDisable(PVOID* old)
{
    *old = nullptr;
    return TRUE;
}

inline BOOL WINAPI NoRedirectionRevert(PVOID)
{
    return TRUE;
}

inline FARPROC WINAPI Wow64GetProcAddress(HMODULE module, LPCSTR name)
{
    if (std::strcmp(name, "Wow64DisableWow64FsRedirection") == 0)
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(NoRedirectionDisable));
    if (std::strcmp(name, "Wow64RevertWow64FsRedirection") == 0)
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(NoRedirectionRevert));
    return ::GetProcAddress(module, name);
}

// The 32-bit program on 64-bit Windows, as Wine's 64-bit spooler is: the W64
// package, the "Windows x64" environment's keys.
class As64BitWindows {
public:
    As64BitWindows() : m_flag(true) { g_platformApi.getProcAddress = Wow64GetProcAddress; }

private:
    ScopedPlatformApi m_api;
    ScopedWow64Flag m_flag;
};

class Components : public testing::Test {
protected:
    Components() { folder.CopyDemoPackage(); }

    // An install context for the port on the target system (32-bit view
    // unless the test says otherwise).
    InstallContext& Prepare(const std::string& port, int targetOs = 7)
    {
        InstallChoice choice;
        choice.port = port;
        choice.targetOs = targetOs;
        prepared = std::make_unique<PreparedInstall>(choice);
        return prepared->context();
    }

    // The DLL in use, as the spooler holds it: loaded from the system folder.
    HMODULE HoldInSystemFolder(const std::string& dll)
    {
        const std::string path = SystemFolderPath() + "\\" + dll;
        ::CopyFileA(folder.PathOf("W32\\" + dll).c_str(), path.c_str(), TRUE);
        return ::LoadLibraryA(path.c_str());
    }

    SystemChanges changes;
    SetupFolder folder;
    RecordedWaits waits;
    std::unique_ptr<PreparedInstall> prepared;
    std::string result;
};

} // namespace component_test
