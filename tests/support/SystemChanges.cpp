#include "support/SystemChanges.h"

#include "platform/Handles.h"
#include "support/CountedServiceCalls.h"
#include "support/RegistryProbe.h"

#include <winspool.h>

#include <algorithm>
#include <cctype>

namespace {

const char kMonitorsKey[] = "System\\CurrentControlSet\\Control\\Print\\Monitors";
const char kEnvironmentsKey[] = "System\\CurrentControlSet\\Control\\Print\\Environments\\";
const char* const kEnvironments[] = {"Windows x64", "Windows NT x86", "Windows 4.0"};
const char kPortsKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Ports";
const char kTalvornKey[] = "SOFTWARE\\TALVORN";

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
    return text;
}

std::set<std::string> FileNames(const std::string& folder)
{
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.insert(Upper(found.cFileName));
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return names;
}

bool FolderExists(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::set<std::string> SubkeyNames(const std::string& path)
{
    std::set<std::string> names;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return names;
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof(name);
        if (::RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.insert(name);
    }
    ::RegCloseKey(key);
    return names;
}

std::string ProcessorsKey(const char* environment)
{
    return std::string(kEnvironmentsKey) + environment + "\\Print Processors";
}

std::string DefaultPrinter()
{
    char name[MAX_PATH] = {};
    DWORD size = sizeof(name);
    return ::GetDefaultPrinterA(name, &size) ? name : "";
}

std::string SpoolerFolder(BOOL(WINAPI* ask)(LPSTR, LPSTR, DWORD, LPBYTE, DWORD, LPDWORD))
{
    char folder[MAX_PATH] = {};
    DWORD needed = 0;
    ask(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(folder), sizeof(folder), &needed);
    return folder;
}

} // namespace

std::string SystemFolderPath()
{
    char folder[MAX_PATH] = {};
    ::GetSystemDirectoryA(folder, sizeof(folder));
    return folder;
}

std::string DriverFolderPath()
{
    return SpoolerFolder(::GetPrinterDriverDirectoryA);
}

std::string ProcessorFolderPath()
{
    return SpoolerFolder(::GetPrintProcessorDirectoryA);
}

std::set<std::string> QueueNames()
{
    std::set<std::string> names;
    DWORD needed = 0;
    DWORD count = 0;
    ::EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 4, nullptr, 0, &needed, &count);
    std::vector<BYTE> list(needed);
    if (needed == 0 || !::EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 4, list.data(), needed, &needed, &count))
        return names;
    const auto* queues = reinterpret_cast<const PRINTER_INFO_4A*>(list.data());
    for (DWORD i = 0; i < count; ++i)
        names.insert(queues[i].pPrinterName);
    return names;
}

std::set<std::string> DriverNames()
{
    std::set<std::string> names;
    DWORD needed = 0;
    DWORD count = 0;
    ::EnumPrinterDriversA(nullptr, nullptr, 1, nullptr, 0, &needed, &count);
    std::vector<BYTE> list(needed);
    if (needed == 0 || !::EnumPrinterDriversA(nullptr, nullptr, 1, list.data(), needed, &needed, &count))
        return names;
    const auto* drivers = reinterpret_cast<const DRIVER_INFO_1A*>(list.data());
    for (DWORD i = 0; i < count; ++i)
        names.insert(drivers[i].pName);
    return names;
}

SystemChanges::SystemChanges()
{
    const std::string system = SystemFolderPath();
    const std::string driver = DriverFolderPath();
    char windows[MAX_PATH] = {};
    ::GetWindowsDirectoryA(windows, sizeof(windows));
    for (const std::string& path : {system, system + "\\wbem", driver, driver + "\\3", ProcessorFolderPath(),
                                    std::string(windows) + "\\inf"})
        m_folders.push_back({path, FolderExists(path), FileNames(path)});
    m_queues = QueueNames();
    m_drivers = DriverNames();
    m_monitors = SubkeyNames(kMonitorsKey);
    for (const char* environment : kEnvironments) {
        m_processors[environment] = SubkeyNames(ProcessorsKey(environment));
        for (const std::string& key : {std::string(kEnvironmentsKey) + environment, ProcessorsKey(environment)}) {
            if (KeyExists(key))
                m_environmentKeys.insert(key);
        }
    }

    HKEY ports = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kPortsKey, 0, KEY_READ, &ports) == ERROR_SUCCESS) {
        char name[256];
        BYTE data[1024];
        for (DWORD i = 0;; ++i) {
            DWORD nameLength = sizeof(name);
            DWORD dataLength = sizeof(data);
            DWORD type = 0;
            if (::RegEnumValueA(ports, i, name, &nameLength, nullptr, &type, data, &dataLength) != ERROR_SUCCESS)
                break;
            m_ports[name] = {type, std::vector<BYTE>(data, data + dataLength)};
        }
        ::RegCloseKey(ports);
    }
    m_talvornExisted = KeyExists(kTalvornKey);
    m_defaultPrinter = DefaultPrinter();
}

SystemChanges::~SystemChanges()
{
    for (const std::string& queue : QueueNames()) {
        if (m_queues.count(queue) != 0)
            continue;
        PrinterHandle printer;
        PRINTER_DEFAULTSA access = {nullptr, nullptr, PRINTER_ALL_ACCESS};
        if (::OpenPrinterA(const_cast<LPSTR>(queue.c_str()), printer.Receive(), &access))
            ::DeletePrinter(printer.Get());
    }
    for (const std::string& driver : DriverNames()) {
        if (m_drivers.count(driver) == 0)
            ::DeletePrinterDriverA(nullptr, nullptr, const_cast<LPSTR>(driver.c_str()));
    }
    // Deleting a monitor also unloads its DLL, so that the file can go.
    for (const std::string& monitor : SubkeyNames(kMonitorsKey)) {
        if (m_monitors.count(monitor) != 0)
            continue;
        ::DeleteMonitorA(nullptr, nullptr, const_cast<LPSTR>(monitor.c_str()));
        DeleteKeyTree(HKEY_LOCAL_MACHINE, std::string(kMonitorsKey) + "\\" + monitor);
    }
    for (const auto& [environment, before] : m_processors) {
        for (const std::string& processor : SubkeyNames(ProcessorsKey(environment.c_str()))) {
            if (before.count(processor) == 0)
                DeleteKeyTree(HKEY_LOCAL_MACHINE, ProcessorsKey(environment.c_str()) + "\\" + processor);
        }
    }
    // Keys that writing a processor's version made on the way.
    for (const char* environment : kEnvironments) {
        for (const std::string& key : {ProcessorsKey(environment), std::string(kEnvironmentsKey) + environment}) {
            if (m_environmentKeys.count(key) == 0 && SubkeyNames(key).empty())
                DeleteKeyTree(HKEY_LOCAL_MACHINE, key);
        }
    }
    for (const Folder& folder : m_folders) {
        for (const std::string& name : FileNames(folder.path)) {
            if (folder.names.count(name) == 0) {
                const std::string path = folder.path + "\\" + name;
                ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA(path.c_str());
            }
        }
    }
    for (auto folder = m_folders.rbegin(); folder != m_folders.rend(); ++folder) {
        if (!folder->existed)
            ::RemoveDirectoryA(folder->path.c_str());
    }

    HKEY ports = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kPortsKey, 0, KEY_ALL_ACCESS, &ports) == ERROR_SUCCESS) {
        std::vector<std::string> added;
        char name[256];
        for (DWORD i = 0;; ++i) {
            DWORD nameLength = sizeof(name);
            if (::RegEnumValueA(ports, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            if (m_ports.count(name) == 0)
                added.push_back(name);
        }
        for (const std::string& value : added)
            ::RegDeleteValueA(ports, value.c_str());
        for (const auto& [value, saved] : m_ports)
            ::RegSetValueExA(ports, value.c_str(), 0, saved.type, saved.data.data(),
                             static_cast<DWORD>(saved.data.size()));
        ::RegCloseKey(ports);
    }
    if (!m_talvornExisted)
        DeleteKeyTree(HKEY_LOCAL_MACHINE, kTalvornKey);
    if (!m_defaultPrinter.empty() && DefaultPrinter() != m_defaultPrinter)
        ::SetDefaultPrinterA(m_defaultPrinter.c_str());
    EnsureSpoolerRunning();
}
