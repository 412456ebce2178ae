#include "ports/UsbDriverVersion.h"

#include "install/FsRedirectionGuard.h"
#include "platform/Handles.h"
#include "platform/PlatformApi.h"
#include "platform/Wow64.h"
#include "ports/FileVersion.h"
#include "ports/UsbDriverFiles.h"

#include <windows.h>

#include <array>

namespace {

using DisableFn = BOOL(WINAPI*)(PVOID*);
using RevertFn = BOOL(WINAPI*)(PVOID);

template <typename Fn>
Fn Lookup(const ModuleHandle& module, const char* name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(g_platformApi.getProcAddress(module.Get(), name)));
}

using VersionNumbers = std::array<unsigned long, 4>;

// The first four runs of decimal digits; each number stops growing at the
// largest 32-bit value, so that a long run cannot wrap round.
VersionNumbers ParseVersion(const std::string& text)
{
    VersionNumbers numbers = {};
    size_t part = 0;
    bool inNumber = false;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            if (!inNumber && part == numbers.size())
                break;
            unsigned long& n = numbers[inNumber ? part - 1 : part++];
            inNumber = true;
            n = n > (0xFFFFFFFFul - 9) / 10 ? 0xFFFFFFFFul : n * 10 + static_cast<unsigned long>(c - '0');
        } else {
            inNumber = false;
        }
    }
    return numbers;
}

} // namespace

std::string ReadInstalledUsbDriverVersion()
{
    const std::string path = InstalledUsbDriverPath();
    if (!g_bWow64)
        return GetFileVersionText(path.c_str());

    ModuleHandle kernel(g_platformApi.loadLibrary("Kernel32.dll"));
    if (!kernel)
        return std::string();
    // Both functions are found before the redirection is touched: it is never
    // switched off without the means to switch it back on.
    auto disable = Lookup<DisableFn>(kernel, "Wow64DisableWow64FsRedirection");
    auto revert = Lookup<RevertFn>(kernel, "Wow64RevertWow64FsRedirection");
    if (disable == nullptr || revert == nullptr)
        return std::string();
    PVOID oldState = nullptr;
    if (disable(&oldState) != TRUE)
        return std::string();
    std::string version = GetFileVersionText(path.c_str());
    revert(oldState);
    return version;
}

// Versions compare by their four numbers. For versions with one digit per
// part this answers as joining the digits would (2.0.1.5 is newer than
// 2.0.1.4), and it also holds for longer parts: 2.0.10.0 is newer than
// 2.0.9.0, where the joined digits would say older.
int CompareVersionTexts(const std::string& packaged, const std::string& installed)
{
    if (packaged == installed)
        return kUsbDriverUpToDate;
    const VersionNumbers installedNumbers = ParseVersion(installed);
    if (installedNumbers == VersionNumbers{})
        return kUsbDriverNotInstalled;
    return ParseVersion(packaged) > installedNumbers ? kUsbDriverPackagedNewer : kUsbDriverUpToDate;
}

int CompareUsbDriverVersion()
{
    const std::string packaged = GetFileVersionText(PackagedUsbDriverFile("TVPUSB.sys").c_str());
    const std::string installedPath = InstalledUsbDriverPath();
    std::string installed = GetFileVersionText(installedPath.c_str());
    if (g_bWow64) {
        // The 32-bit program sees the 32-bit system folder until the
        // redirection is off; a missing piece is shown and its step skipped.
        FsRedirectionGuard(FsGuardForm::Reporting, [&] {
            installed = GetFileVersionText(installedPath.c_str());
            return 1;
        });
    }
    return CompareVersionTexts(packaged, installed);
}
