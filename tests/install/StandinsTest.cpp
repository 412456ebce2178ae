// The demo setup folder holds every file that its configuration names, and
// each stand-in DLL answers the spooler the way its kind of component must:
// the monitors hand out a function table and list no ports, the configuration
// DLLs give default settings, the print processor takes RAW jobs.

#include "platform/Handles.h"
#include "support/SetupFolder.h"

#include <windows.h>
#include <winspool.h>
#include <winsplp.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

enum class Kind { File, Dll, PortMonitor, LanguageMonitor, MonitorUi, PrintProcessor, Graphics, Configuration, Plugin };

const char* KindName(Kind kind)
{
    switch (kind) {
    case Kind::File: return "file";
    case Kind::Dll: return "DLL";
    case Kind::PortMonitor: return "port monitor";
    case Kind::LanguageMonitor: return "language monitor";
    case Kind::MonitorUi: return "monitor user interface";
    case Kind::PrintProcessor: return "print processor";
    case Kind::Graphics: return "driver graphics DLL";
    case Kind::Configuration: return "driver configuration DLL";
    case Kind::Plugin: return "driver plug-in";
    }
    return "?";
}

// Functions each kind must export.
const std::map<Kind, std::vector<const char*>> kExports = {
    {Kind::File, {}},
    {Kind::Dll, {}},
    {Kind::PortMonitor, {"InitializePrintMonitor2"}},
    {Kind::LanguageMonitor, {"InitializePrintMonitor2"}},
    {Kind::MonitorUi, {"InitializePrintMonitorUI"}},
    {Kind::PrintProcessor,
     {"EnumPrintProcessorDatatypesW", "OpenPrintProcessor", "PrintDocumentOnPrintProcessor",
      "ClosePrintProcessor", "ControlPrintProcessor", "GetPrintProcessorCapabilities"}},
    {Kind::Graphics, {"DrvEnableDriver", "DrvQueryDriverInfo", "DrvDisableDriver"}},
    {Kind::Configuration, {"DrvDocumentPropertySheets", "DrvDeviceCapabilities"}},
    {Kind::Plugin, {"DllGetClassObject", "DllCanUnloadNow"}},
};

bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The kind of component a configuration key names.
Kind KindOfKey(const std::string& key, const std::string& file)
{
    if (!EndsWith(file, ".DLL"))
        return Kind::File;
    if (key == "USBLMONitorDLLName")
        return Kind::LanguageMonitor;
    if (EndsWith(key, "UIDLLName"))
        return Kind::MonitorUi;
    if (EndsWith(key, "PDLLName"))
        return Kind::PortMonitor;
    if (EndsWith(key, "ProcessorDLLName"))
        return Kind::PrintProcessor;
    if (EndsWith(key, "DriverPath"))
        return Kind::Graphics;
    if (EndsWith(key, "ConfigFile"))
        return Kind::Configuration;
    if (EndsWith(key, "DataOemuiDLL") || EndsWith(key, "DataOemuniDLL"))
        return Kind::Plugin;
    return Kind::Dll;
}

bool NamesAFile(const std::string& key)
{
    static const char* const kFileKeys[] = {
        "DriverPath", "DataFile", "ConfigFile", "HelpFile", "DataFileDLLName", "DataOemuiDLL",
        "DataOemuniDLL", "DataOemuniini", "ProcessorDLLName", "ControlFontFile", "USBInternalID",
        "LanguageResourceFile", "DLLName"};
    for (const char* fileKey : kFileKeys) {
        if (key.find(fileKey) != std::string::npos)
            return true;
    }
    return false;
}

struct PackageFile {
    std::string folder; // W32 or W64
    std::string name;
    Kind kind;
};

std::vector<std::string> Sections(const std::string& ini)
{
    std::vector<char> names(65536);
    DWORD length = ::GetPrivateProfileSectionNamesA(names.data(), static_cast<DWORD>(names.size()), ini.c_str());
    std::vector<std::string> sections;
    for (const char* name = names.data(); name < names.data() + length && *name != '\0';
         name += std::strlen(name) + 1)
        sections.emplace_back(name);
    return sections;
}

std::vector<std::pair<std::string, std::string>> Entries(const std::string& ini, const std::string& section)
{
    std::vector<char> text(32768);
    DWORD length =
        ::GetPrivateProfileSectionA(section.c_str(), text.data(), static_cast<DWORD>(text.size()), ini.c_str());
    std::vector<std::pair<std::string, std::string>> entries;
    for (const char* entry = text.data(); entry < text.data() + length && *entry != '\0';
         entry += std::strlen(entry) + 1) {
        const char* equals = std::strchr(entry, '=');
        if (equals != nullptr)
            entries.emplace_back(std::string(entry, equals), equals + 1);
    }
    return entries;
}

// Every file the demo configuration names, with the folder it is taken from
// and the kind of component its key says it is. A name under several keys is
// listed once per key.
std::vector<PackageFile> NamedFiles(const std::string& package)
{
    std::vector<PackageFile> files;
    const std::string config = package + "DRVCONFIG\\";
    for (const char* category : {"receipt", "ticket", "label", "embedded"}) {
        for (const char* folder : {"W32", "W64"}) {
            const std::string ini = config + "setup_" + category + (std::string(folder) == "W64" ? "_64" : "") + ".ini";
            for (const std::string& section : Sections(ini)) {
                if (EndsWith(section, ".PORT"))
                    continue;
                for (const auto& [key, value] : Entries(ini, section)) {
                    if (NamesAFile(key) && value != "0")
                        files.push_back({folder, value, KindOfKey(key, value)});
                }
            }
        }
    }
    const std::string setupIni = config + "setup.ini";
    for (const std::string& section : Sections(setupIni)) {
        if (section.rfind("COMMON-MONITOR", 0) != 0)
            continue;
        for (const auto& [key, value] : Entries(setupIni, section)) {
            if (NamesAFile(key) && value != "0") {
                for (const char* folder : {"W32", "W64"})
                    files.push_back({folder, value, KindOfKey(key, value)});
            }
        }
    }
    // The Unidrv support files that the program adds to every DDK driver.
    for (const char* folder : {"W32", "W64"}) {
        for (const char* name : {"TTFSUB.GPD", "STDNAMES.GPD"})
            files.push_back({folder, name, Kind::File});
        files.push_back({folder, "UNIRES.DLL", Kind::Dll});
    }
    return files;
}

std::string PackageFolder()
{
    return BuildFolder() + "package\\";
}

bool FileExists(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

ModuleHandle LoadStandin(const std::string& folder, const std::string& name)
{
    return ModuleHandle(::LoadLibraryExA((PackageFolder() + folder + "\\" + name).c_str(), nullptr, 0));
}

template <typename Function>
Function Export(const ModuleHandle& module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module.Get(), name)));
}

} // namespace

TEST(Standins, ThePackageHoldsEveryFileItsConfigurationNames)
{
    const std::vector<PackageFile> files = NamedFiles(PackageFolder());
    ASSERT_GT(files.size(), 100u);
    for (const PackageFile& file : files)
        EXPECT_TRUE(FileExists(PackageFolder() + file.folder + "\\" + file.name)) << file.folder << "\\" << file.name;
}

TEST(Standins, EachDllExportsWhatItsKindNeeds)
{
    std::set<std::string> checked;
    for (const PackageFile& file : NamedFiles(PackageFolder())) {
        if (file.kind == Kind::File || !checked.insert(file.folder + "\\" + file.name + KindName(file.kind)).second)
            continue;
        SCOPED_TRACE(file.folder + "\\" + file.name + ", " + KindName(file.kind));
        ModuleHandle module = LoadStandin(file.folder, file.name);
        ASSERT_TRUE(module) << ::GetLastError();
        for (const char* function : kExports.at(file.kind))
            EXPECT_NE(::GetProcAddress(module.Get(), function), nullptr) << function;
    }
}

// The spooler accepts a monitor whose InitializePrintMonitor2 hands out a
// table; the stand-ins list no ports and need none of the registry functions
// the spooler offers (it passes none here).
TEST(Standins, MonitorsHandOutATableWithoutPorts)
{
    for (const char* name : {"TVUSBMON.DLL", "TVCOMMON.DLL", "TVLMON.DLL"}) {
        SCOPED_TRACE(name);
        ModuleHandle module = LoadStandin("W32", name);
        ASSERT_TRUE(module);
        auto initialize = Export<LPMONITOR2(WINAPI*)(PMONITORINIT, PHANDLE)>(module, "InitializePrintMonitor2");
        ASSERT_NE(initialize, nullptr);
        MONITORINIT init = {};
        init.cbSize = sizeof(init);
        init.bLocal = TRUE;
        HANDLE monitor = nullptr;

        LPMONITOR2 table = initialize(&init, &monitor);

        ASSERT_NE(table, nullptr);
        EXPECT_NE(monitor, nullptr);
        EXPECT_GE(table->cbSize, offsetof(MONITOR2, pfnShutdown) + sizeof(table->pfnShutdown));
        ASSERT_NE(table->pfnEnumPorts, nullptr);
        for (DWORD level : {1u, 2u}) {
            DWORD needed = 99;
            DWORD returned = 99;
            EXPECT_TRUE(table->pfnEnumPorts(monitor, nullptr, level, nullptr, 0, &needed, &returned));
            EXPECT_EQ(needed, 0u);
            EXPECT_EQ(returned, 0u);
        }
        EXPECT_NE(table->pfnStartDocPort, nullptr);
        EXPECT_NE(table->pfnWritePort, nullptr);
        EXPECT_NE(table->pfnEndDocPort, nullptr);
        EXPECT_NE(table->pfnClosePort, nullptr);
        // A language monitor is opened over a port monitor's port.
        if (std::string(name) == "TVLMON.DLL")
            EXPECT_NE(table->pfnOpenPortEx, nullptr);
        else
            EXPECT_NE(table->pfnOpenPort, nullptr);
    }
}

// The language monitor passes what it is given to the port monitor it sits on.
namespace {

std::vector<std::string> g_portCalls;

BOOL WINAPI RecordOpenPort(HANDLE, LPWSTR, PHANDLE port)
{
    g_portCalls.push_back("open");
    *port = reinterpret_cast<HANDLE>(0x77);
    return TRUE;
}

BOOL WINAPI RecordWritePort(HANDLE port, LPBYTE buffer, DWORD size, LPDWORD written)
{
    g_portCalls.push_back("write " + std::string(reinterpret_cast<char*>(buffer), size)
                          + (port == reinterpret_cast<HANDLE>(0x77) ? "" : " to another port"));
    *written = size;
    return TRUE;
}

BOOL WINAPI RecordClosePort(HANDLE)
{
    g_portCalls.push_back("close");
    return TRUE;
}

} // namespace

TEST(Standins, TheLanguageMonitorPassesDataToThePortMonitor)
{
    ModuleHandle module = LoadStandin("W32", "TVLMON.DLL");
    ASSERT_TRUE(module);
    auto initialize = Export<LPMONITOR2(WINAPI*)(PMONITORINIT, PHANDLE)>(module, "InitializePrintMonitor2");
    MONITORINIT init = {};
    init.cbSize = sizeof(init);
    HANDLE monitor = nullptr;
    LPMONITOR2 table = initialize(&init, &monitor);
    ASSERT_NE(table, nullptr);
    MONITOR2 portMonitor = {};
    portMonitor.cbSize = sizeof(portMonitor);
    portMonitor.pfnOpenPort = RecordOpenPort;
    portMonitor.pfnWritePort = RecordWritePort;
    portMonitor.pfnClosePort = RecordClosePort;
    g_portCalls.clear();
    wchar_t portName[] = L"USB001";
    wchar_t printerName[] = L"QMT-K410";

    HANDLE port = nullptr;
    ASSERT_TRUE(table->pfnOpenPortEx(monitor, nullptr, portName, printerName, &port, &portMonitor));
    char data[] = "\x1b@receipt";
    DWORD written = 0;
    EXPECT_TRUE(table->pfnWritePort(port, reinterpret_cast<LPBYTE>(data), 9, &written));
    EXPECT_EQ(written, 9u);
    EXPECT_TRUE(table->pfnClosePort(port));

    EXPECT_EQ(g_portCalls, (std::vector<std::string>{"open", "write \x1b@receipt", "close"}));
}

namespace {

// DrvDocumentPropertySheets' request header.
struct DocumentPropertyHeader {
    WORD cbSize;
    WORD Reserved;
    HANDLE hPrinter;
    LPWSTR pszPrinterName;
    PDEVMODEW pdmIn;
    PDEVMODEW pdmOut;
    DWORD cbOut;
    DWORD fMode;
};

} // namespace

// The spooler asks a new queue's configuration DLL for its default settings:
// first their size, then the settings themselves.
TEST(Standins, ConfigurationDllsGiveDefaultSettings)
{
    for (const char* name : {"UNIDRVUI.DLL", "TVGDIUI.DLL"}) {
        SCOPED_TRACE(name);
        ModuleHandle module = LoadStandin("W32", name);
        ASSERT_TRUE(module);
        auto sheets = Export<LONG(WINAPI*)(void*, LPARAM)>(module, "DrvDocumentPropertySheets");
        auto capabilities = Export<DWORD(WINAPI*)(HANDLE, PWSTR, WORD, void*, DEVMODEW*)>(module, "DrvDeviceCapabilities");
        ASSERT_NE(sheets, nullptr);
        ASSERT_NE(capabilities, nullptr);
        wchar_t printer[] = L"QMT-K410";
        DocumentPropertyHeader header = {sizeof(header), 0, nullptr, printer, nullptr, nullptr, 0, 0};

        const LONG size = sheets(nullptr, reinterpret_cast<LPARAM>(&header));
        ASSERT_EQ(size, static_cast<LONG>(sizeof(DEVMODEW)));
        EXPECT_EQ(header.cbOut, sizeof(DEVMODEW));

        DEVMODEW input = {};
        input.dmSize = sizeof(input);
        input.dmFields = DM_ORIENTATION;
        input.dmOrientation = DMORIENT_LANDSCAPE;
        DEVMODEW settings = {};
        header.pdmIn = &input;
        header.pdmOut = &settings;
        header.cbOut = sizeof(settings);
        header.fMode = DM_OUT_BUFFER | DM_IN_BUFFER;
        EXPECT_EQ(sheets(nullptr, reinterpret_cast<LPARAM>(&header)), IDOK);
        EXPECT_STREQ(settings.dmDeviceName, L"QMT-K410");
        EXPECT_EQ(settings.dmSize, sizeof(DEVMODEW));
        EXPECT_EQ(settings.dmSpecVersion, DM_SPECVERSION);
        EXPECT_EQ(settings.dmOrientation, DMORIENT_LANDSCAPE);
        EXPECT_EQ(settings.dmPaperSize, DMPAPER_A4);

        EXPECT_EQ(capabilities(nullptr, printer, DC_SIZE, nullptr, nullptr), sizeof(DEVMODEW));
        EXPECT_EQ(capabilities(nullptr, printer, DC_BINNAMES, nullptr, nullptr), static_cast<DWORD>(GDI_ERROR));
    }
}

TEST(Standins, ThePrintProcessorTakesRawJobsOnly)
{
    ModuleHandle module = LoadStandin("W32", "TVPPROC.DLL");
    ASSERT_TRUE(module);
    auto datatypes = Export<BOOL(WINAPI*)(LPWSTR, LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD, LPDWORD)>(
        module, "EnumPrintProcessorDatatypesW");
    auto open = Export<HANDLE(WINAPI*)(LPWSTR, PPRINTPROCESSOROPENDATA)>(module, "OpenPrintProcessor");
    auto capabilities =
        Export<DWORD(WINAPI*)(LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD)>(module, "GetPrintProcessorCapabilities");
    ASSERT_NE(datatypes, nullptr);
    ASSERT_NE(open, nullptr);
    ASSERT_NE(capabilities, nullptr);

    DWORD needed = 0;
    DWORD returned = 0;
    EXPECT_FALSE(datatypes(nullptr, nullptr, 1, nullptr, 0, &needed, &returned));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    std::vector<BYTE> list(needed);
    ASSERT_TRUE(datatypes(nullptr, nullptr, 1, list.data(), needed, &needed, &returned));
    ASSERT_EQ(returned, 1u);
    EXPECT_STREQ(reinterpret_cast<DATATYPES_INFO_1W*>(list.data())->pName, L"RAW");

    PRINTPROCESSOR_CAPS_1 caps = {};
    wchar_t raw[] = L"RAW";
    wchar_t emf[] = L"NT EMF 1.008";
    EXPECT_EQ(capabilities(raw, 0, reinterpret_cast<LPBYTE>(&caps), sizeof(caps), &needed),
              static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(caps.dwLevel, 1u);
    EXPECT_EQ(capabilities(emf, 0, reinterpret_cast<LPBYTE>(&caps), sizeof(caps), &needed),
              static_cast<DWORD>(ERROR_INVALID_DATATYPE));

    wchar_t printer[] = L"QMT-K410";
    PRINTPROCESSOROPENDATA data = {};
    data.pDatatype = emf;
    ::SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(open(printer, &data), nullptr);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATATYPE));
}
