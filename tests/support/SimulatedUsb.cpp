#include "support/SimulatedUsb.h"

#include "support/RegistryProbe.h"

#include <windows.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace {

const char kUsbEnum[] = "System\\CurrentControlSet\\Enum\\USB";
const char kUsbClassGuid[] = "{36FC9E60-C465-11CF-8056-444553540000}";
// Instance keys of simulated devices start with this, so that left-overs of
// an interrupted run can be found.
const char kInstanceMark[] = "DSTEST";

std::vector<std::string> SubkeyNames(HKEY root, const std::string& path)
{
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return names;
    char name[256];
    DWORD length = sizeof(name);
    while (::RegEnumKeyExA(key, static_cast<DWORD>(names.size()), name, &length, nullptr, nullptr, nullptr, nullptr)
           == ERROR_SUCCESS) {
        names.push_back(name);
        length = sizeof(name);
    }
    ::RegCloseKey(key);
    return names;
}

void RemoveLeftovers()
{
    const std::string usb = kUsbEnum;
    for (const std::string& device : SubkeyNames(HKEY_LOCAL_MACHINE, usb)) {
        std::vector<std::string> instances = SubkeyNames(HKEY_LOCAL_MACHINE, usb + "\\" + device);
        bool allMine = !instances.empty();
        for (const std::string& instance : instances) {
            if (instance.rfind(kInstanceMark, 0) == 0)
                DeleteKeyTree(HKEY_LOCAL_MACHINE, usb + "\\" + device + "\\" + instance);
            else
                allMine = false;
        }
        if (allMine)
            DeleteKeyTree(HKEY_LOCAL_MACHINE, usb + "\\" + device);
    }
}

} // namespace

SimulatedUsbDevices::SimulatedUsbDevices()
{
    RemoveLeftovers();
    m_createdUsbKey = !KeyExists(kUsbEnum);
}

SimulatedUsbDevices::~SimulatedUsbDevices()
{
    for (auto key = m_keys.rbegin(); key != m_keys.rend(); ++key)
        DeleteKeyTree(HKEY_LOCAL_MACHINE, *key);
    if (m_createdUsbKey && SubkeyNames(HKEY_LOCAL_MACHINE, kUsbEnum).empty())
        DeleteKeyTree(HKEY_LOCAL_MACHINE, kUsbEnum);
}

void SimulatedUsbDevices::Add(const std::string& device, const std::string& instance,
                              const std::vector<std::string>& hardwareIds)
{
    const std::string devicePath = std::string(kUsbEnum) + "\\" + device;
    const std::string path = devicePath + "\\" + kInstanceMark + instance;
    // The whole device goes when the test made it, only the instance otherwise.
    if (!KeyExists(devicePath))
        m_keys.push_back(devicePath);
    else if (!KeyExists(path))
        m_keys.push_back(path);
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr)
        != ERROR_SUCCESS)
        throw std::runtime_error("cannot create " + path);
    ::RegSetValueExA(key, "ClassGUID", 0, REG_SZ, reinterpret_cast<const BYTE*>(kUsbClassGuid),
                     sizeof(kUsbClassGuid));
    if (!hardwareIds.empty()) {
        std::string list;
        for (const std::string& id : hardwareIds)
            list += id + '\0';
        list += '\0';
        ::RegSetValueExA(key, "HardwareID", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(list.data()),
                         static_cast<DWORD>(list.size()));
    }
    ::RegCloseKey(key);
}

void SimulatedUsbDevices::AddMakerDevice(const std::string& productId, const std::string& instance)
{
    const std::string device = "VID_7A3D&PID_" + productId;
    Add(device, instance, {"USB\\" + device + "&REV_0100", "USB\\" + device});
}

InstalledUsbDriver::InstalledUsbDriver(const std::string& source)
{
    ::SetFileAttributesA(Path().c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(Path().c_str());
    if (!source.empty() && !::CopyFileA(source.c_str(), Path().c_str(), FALSE))
        throw std::runtime_error("cannot install " + source + " as " + Path());
}

InstalledUsbDriver::~InstalledUsbDriver()
{
    ::SetFileAttributesA(Path().c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(Path().c_str());
}

std::string InstalledUsbDriver::Path()
{
    char system[MAX_PATH] = {};
    ::GetSystemDirectoryA(system, sizeof(system));
    return std::string(system) + "\\drivers\\TVPUSB.sys";
}

void CopyIntoFolder(const SetupFolder& folder, const std::string& relative, const std::string& source)
{
    folder.Write(relative, "");
    if (!::CopyFileA(source.c_str(), folder.PathOf(relative).c_str(), FALSE))
        throw std::runtime_error("cannot copy " + source + " to " + folder.PathOf(relative));
}

void CopyPackageFiles(const SetupFolder& folder, const std::vector<std::string>& files)
{
    for (const std::string& file : files)
        CopyIntoFolder(folder, file, BuildFolder() + "package\\" + file);
}

std::string StandinBuildFile(const std::string& name)
{
#if defined(_WIN64)
    return BuildFolder() + "standins\\x86_64\\" + name;
#else
    return BuildFolder() + "standins\\i686\\" + name;
#endif
}

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool WaitForLines(const std::string& path, size_t lines, unsigned timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const std::string text = ReadWholeFile(path);
        size_t complete = 0;
        for (char c : text)
            complete += c == '\n' ? 1 : 0;
        if (complete >= lines)
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

std::vector<std::string> ReadLines(const std::string& path)
{
    std::vector<std::string> lines;
    std::istringstream text(ReadWholeFile(path));
    std::string line;
    while (std::getline(text, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}
