#include "config/DriverConfig.h"

#include "config/ProfileReader.h"
#include "platform/BoundedText.h"
#include "platform/ProgramFolder.h"
#include "platform/Wow64.h"

#include <cstdio>
#include <cstring>

bool g_bGdiStdSign = false;

namespace {

// Searched in this order; the first one found ends the model name.
const char* const kCategorySuffixes[kCategoryCount] = {
    "-ReceiptPrinter", "-TicketPrinter", "-LabelPrinter", "-EmbeddedPrinter",
};

const char* const kOsSuffixes[] = {".98", ".NT", ".2K", ".XP", ".2003", ".Vista", ".2008", ".Win7"};

// The spooler's name of the Windows 9x environment; other systems use the
// spooler's default environment (a null pointer).
char kWin9xEnvironment[] = "Windows 4.0";

constexpr size_t kNameLength = 49;
constexpr size_t kFileLength = 199;

bool IsOldWindows(int os)
{
    return os == 0 || os == 1;
}

bool IsNt5OrLater(int os)
{
    return os >= 2 && os <= 7;
}

char* EnvironmentFor(int os)
{
    return os == 0 ? kWin9xEnvironment : nullptr;
}

// GDI keys for raster 1, STD keys for raster 0, none otherwise.
const char* FamilyPrefix(int raster)
{
    if (raster == 1)
        return "GDI";
    if (raster == 0)
        return "STD";
    return nullptr;
}

// With GDISTDSign, a serial port always takes the GDI family and a USB port
// the STD family.
int FamilyForPort(int raster, int portKind)
{
    if (g_bGdiStdSign && portKind == kPortCom)
        return 1;
    if (g_bGdiStdSign && portKind == kPortUsb)
        return 0;
    return raster;
}

// Appends one name and its zero to a multi-string; the list's closing zero is
// the next byte, left zero by the caller.
void AppendListName(char* list, size_t size, size_t& used, const char* name)
{
    size_t len = std::strlen(name);
    if (used + len + 2 > size)
        return;
    std::memcpy(list + used, name, len + 1);
    used += len + 1;
}

std::string MonitorSection(int os)
{
    return std::string("COMMON-MONITOR") + OsSectionSuffix(os);
}

} // namespace

const char* OsSectionSuffix(int os)
{
    if (os < 0 || os > 7)
        return "";
    return kOsSuffixes[os];
}

CDriverConfig::CDriverConfig()
{
    BuildProgramFilePath(kSetupIniName, m_szSetupIni);
    for (int category = 0; category < kCategoryCount; ++category)
        BuildProgramFilePath(CategoryIniName(category, g_bWow64), m_szCategoryIni[category]);
}

CDriverConfig::~CDriverConfig() = default;

int CDriverConfig::GetDeviceCount() const
{
    return ReadProfileNumber(m_szSetupIni, kCatalogueSection, "DEVICENUMBER", 49);
}

int CDriverConfig::GetDeviceName(int n, char (&buffer)[kConfigTextSize]) const
{
    char key[32];
    std::snprintf(key, sizeof(key), "DEVICENAME%d", n);
    ReadProfileText(m_szSetupIni, kCatalogueSection, key, "0", buffer);
    for (int category = 0; category < kCategoryCount; ++category) {
        char* suffix = std::strstr(buffer, kCategorySuffixes[category]);
        if (suffix != nullptr) {
            *suffix = '\0';
            return category;
        }
    }
    return -1;
}

int CDriverConfig::GetDefaultDevice(char (&buffer)[kConfigTextSize]) const
{
    ReadProfileText(m_szSetupIni, kCatalogueSection, "DEFAULTNAME", "0", buffer);
    return GetDeviceName(ParseConfigNumber(buffer), buffer);
}

int CDriverConfig::GetProcessorVersion() const
{
    return ReadProfileNumber(m_szSetupIni, "ProcessorVersion", "DriverVersion", kNameLength);
}

std::string CDriverConfig::SelectModelSection(const char* model, int os)
{
    m_szIni[0] = '\0';
    if (m_nCategory >= 0 && m_nCategory < kCategoryCount)
        CopyText(m_szIni, m_szCategoryIni[m_nCategory]);
    // Outside the known systems the section stays empty: every key reads its default.
    if (os < 0 || os > 7)
        return std::string();
    return std::string(model) + OsSectionSuffix(os);
}

void CDriverConfig::ReadModelKey(const std::string& section, const std::string& key, char* field,
                                 size_t maxLength)
{
    ReadProfileText(m_szIni, section.c_str(), key.c_str(), "0", field, maxLength + 1);
}

void CDriverConfig::ReadDriverName(const std::string& section, int os, int& raster, int portKind,
                                   char* field)
{
    if (IsOldWindows(os)) {
        ReadModelKey(section, "GDIDriverName", field, kNameLength);
        return;
    }
    if (!IsNt5OrLater(os))
        return;
    static const char* const kNameKeys[] = {"DriverNameS", "DriverNameP", "DriverNameU", "DriverNameN"};
    raster = FamilyForPort(raster, portKind);
    if (portKind >= kPortCom && portKind <= kPortNet)
        ReadModelKey(section, kNameKeys[portKind], field, kNameLength);
}

bool CDriverConfig::IsDdkDriver(const char* model, int os, int raster)
{
    const std::string section = SelectModelSection(model, os);
    const char* family = FamilyPrefix(raster);
    if (family == nullptr)
        return false;
    char flag[5];
    ReadModelKey(section, std::string(family) + "2KDDKDEV", flag, 4);
    return flag[0] == '1';
}

void CDriverConfig::GetDriverFiles(const char* model, int os, DriverFileList& list, int raster,
                                   int portKind)
{
    const std::string section = SelectModelSection(model, os);
    const char* family = FamilyPrefix(FamilyForPort(raster, portKind));
    if (family != nullptr) {
        const std::string prefix = family;
        ReadModelKey(section, prefix + "DataFile", list.DataFile, kFileLength);
        ReadModelKey(section, prefix + "ConfigFile", list.ConfigFile, kFileLength);
        ReadModelKey(section, prefix + "HelpFile", list.HelpFile, kFileLength);
        ReadModelKey(section, prefix + "ProcessorDLLName", list.ProcessorDLLName, kFileLength);
        ReadModelKey(section, prefix + "DriverPath", list.DriverPath, kFileLength);
        ReadModelKey(section, prefix + "DataFileDLLName", list.DataFileDLLName, kFileLength);
        ReadModelKey(section, prefix + "DataOemuiDLL", list.DataOemuiDLL, kFileLength);
        ReadModelKey(section, prefix + "DataOemuniDLL", list.DataOemuniDLL, kFileLength);
        ReadModelKey(section, prefix + "DataOemuniini", list.DataOemuniini, kFileLength);
        ReadModelKey(section, "ControlFontFile", list.ControlFontFile, kFileLength);
        ReadModelKey(section, "USBInternalID", list.USBInternalID, kFileLength);
    }
    for (int i = 0; i < kLanguageResourceFiles; ++i) {
        ReadModelKey(section, "LanguageResourceFile" + std::to_string(i + 1),
                     list.LanguageResourceFile[i], kFileLength);
    }
}

void CDriverConfig::GetDriverInfo(const char* model, int os, DRIVER_INFO_3A& record, int raster,
                                  int portKind)
{
    record.cVersion = os == 0 ? 0 : os == 1 ? 2 : 3;
    const std::string section = SelectModelSection(model, os);
    ReadDriverName(section, os, raster, portKind, m_szDriverName);

    if (const char* family = FamilyPrefix(raster)) {
        const std::string prefix = family;
        ReadModelKey(section, prefix + "DataFile", m_szDataFile, kFileLength);
        ReadModelKey(section, prefix + "DriverPath", m_szDriverPath, kFileLength);
        ReadModelKey(section, prefix + "HelpFile", m_szHelpFile, kFileLength);
        ReadModelKey(section, prefix + "ConfigFile", m_szConfigFile, kFileLength);
        ReadModelKey(section, prefix + "DataFileDLLName", m_szDataFileDll, kFileLength);
        ReadModelKey(section, prefix + "DataOemuiDLL", m_szOemuiDll, kFileLength);
        ReadModelKey(section, prefix + "DataOemuniDLL", m_szOemuniDll, kFileLength);
        ReadModelKey(section, prefix + "DataOemuniini", m_szOemuniIni, kFileLength);
    }

    record.pEnvironment = EnvironmentFor(os);
    record.pName = m_szDriverName;
    record.pDriverPath = m_szDriverPath;
    record.pDataFile = m_szDataFile;
    record.pConfigFile = m_szConfigFile;
    record.pHelpFile = m_szHelpFile;

    BuildDependentFiles(section, os);
    record.pDependentFiles = m_szDependentFiles;
}

void CDriverConfig::BuildDependentFiles(const std::string& section, int os)
{
    // The flag is always read from the GDI key, for both families.
    char ddk[10];
    ReadModelKey(section, "GDI2KDDKDEV", ddk, 9);
    std::memset(m_szDependentFiles, 0, sizeof(m_szDependentFiles));
    if (ParseConfigNumber(ddk) == 0 || !IsNt5OrLater(os))
        return;

    size_t used = 0;
    // The data file comes first even when the package names none ("0").
    for (const char* name : {static_cast<const char*>(m_szDataFile), "TTFSUB.GPD", "UNIRES.DLL", "STDNAMES.GPD"})
        AppendListName(m_szDependentFiles, sizeof(m_szDependentFiles), used, name);
    for (const char* name : {m_szDataFileDll, m_szOemuiDll, m_szOemuniDll, m_szOemuniIni}) {
        // "0" means no such file; an empty name would end the list early.
        if (name[0] != '0' && name[0] != '\0')
            AppendListName(m_szDependentFiles, sizeof(m_szDependentFiles), used, name);
    }
}

void CDriverConfig::GetPrinterInfo(const char* model, int os, PRINTER_INFO_2A& record, int raster,
                                   int portKind)
{
    const std::string section = SelectModelSection(model, os);
    ReadDriverName(section, os, raster, portKind, m_szPrnDriverName);

    if (const char* family = FamilyPrefix(raster)) {
        ReadModelKey(section, std::string(family) + "PrintProcessor", m_szPrintProcessor, kNameLength);
        ReadModelKey(section, "ATTRIBUTES", m_szAttributes, kNameLength);
    }

    record.Attributes = static_cast<DWORD>(ParseConfigLong(m_szAttributes));
    record.pDriverName = m_szPrnDriverName;
    record.pPrintProcessor = m_szPrintProcessor;
    CopyText(m_szPrinterName, model);
    record.pPrinterName = m_szPrinterName;
}

void CDriverConfig::GetLangMonitorInfo(const char* /*model*/, int os, LangMonitorRecord& record,
                                       int portKind)
{
    if (portKind == kPortCom || portKind == kPortLpt || portKind == kPortNet) {
        m_szLangMonName[0] = '\0';
        m_szLangMonDll[0] = '\0';
        record.monitor.pName = m_szLangMonName;
        record.monitor.pDLLName = m_szLangMonDll;
        return;
    }
    if (portKind != kPortUsb)
        return;

    const std::string section = MonitorSection(os);
    char version[10];
    ReadProfileText(m_szSetupIni, section.c_str(), "USBLMONitorName", "0", m_szLangMonName, kNameLength + 1);
    ReadProfileText(m_szSetupIni, section.c_str(), "USBLMONitorDLLName", "0", m_szLangMonDll, kFileLength + 1);
    ReadProfileText(m_szSetupIni, section.c_str(), "USBLMONitorVersion", "0", version);
    // Three one-character values (the "0" of missing keys): no language monitor.
    if (std::strlen(m_szLangMonName) == 1 && std::strlen(m_szLangMonDll) == 1 && std::strlen(version) == 1) {
        m_szLangMonName[0] = '\0';
        m_szLangMonDll[0] = '\0';
        record.version = 0;
    } else {
        record.version = ParseConfigNumber(version);
    }
    record.monitor.pName = m_szLangMonName;
    record.monitor.pDLLName = m_szLangMonDll;
    record.monitor.pEnvironment = EnvironmentFor(os);
}

void CDriverConfig::GetPortMonitorInfo(int os, PortMonitorRecord& record)
{
    const std::string section = MonitorSection(os);
    const char* s = section.c_str();
    char version[10];

    ReadProfileText(m_szSetupIni, s, "USBMONitorPName", "0", m_szUsbMonName, kNameLength + 1);
    ReadProfileText(m_szSetupIni, s, "USBMONitorPDLLName", "0", m_szUsbMonDll, kFileLength + 1);
    ReadProfileText(m_szSetupIni, s, "USBMONitorPUIDLLName", "0", record.usbUiDll, kNameLength + 1);
    ReadProfileText(m_szSetupIni, s, "USBMONitorVersion", "0", version);
    record.usbVersion = ParseConfigNumber(version);
    record.usbMonitor.pName = m_szUsbMonName;
    record.usbMonitor.pDLLName = m_szUsbMonDll;

    ReadProfileText(m_szSetupIni, s, "COMMONitorPName", "0", m_szComMonName, kNameLength + 1);
    ReadProfileText(m_szSetupIni, s, "COMMONitorPDLLName", "0", m_szComMonDll, kFileLength + 1);
    ReadProfileText(m_szSetupIni, s, "COMMONitorPUIDLLName", "0", record.comUiDll, kNameLength + 1);
    ReadProfileText(m_szSetupIni, s, "COMMONitorVersion", "0", version);
    record.comVersion = ParseConfigNumber(version);
    record.comMonitor.pName = m_szComMonName;
    record.comMonitor.pDLLName = m_szComMonDll;

    record.usbMonitor.pEnvironment = EnvironmentFor(os);
    record.comMonitor.pEnvironment = EnvironmentFor(os);
}
