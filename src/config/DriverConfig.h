#pragma once
// The configuration object: the model catalogue of setup.ini, the paths of the
// configuration files (fixed when the object is built), and the install
// records built from a model's sections for the print spooler.

#include "config/SetupIni.h"

#include <windows.h>
#include <winspool.h>

#include <string>

// PrinterCategory codes.
enum PrinterCategory { kReceipt = 0, kTicket = 1, kLabel = 2, kEmbedded = 3 };
constexpr int kCategoryCount = 4;

// PortKind codes.
enum PortKind { kPortCom = 0, kPortLpt = 1, kPortUsb = 2, kPortNet = 3 };

// Set when setup.ini GDISTDSign is non-zero: serial ports then take the GDI
// driver keys and USB ports the STD keys, whatever the raster flag says.
extern bool g_bGdiStdSign;

constexpr int kLanguageResourceFiles = 9;

// The files of one driver installation, named after their keys without the
// GDI/STD prefix. The caller clears the list before it is filled.
struct DriverFileList {
    char DriverPath[kConfigTextSize];
    char DataFile[kConfigTextSize];
    char ConfigFile[kConfigTextSize];
    char HelpFile[kConfigTextSize];
    char ProcessorDLLName[kConfigTextSize];
    char DataFileDLLName[kConfigTextSize];
    char DataOemuniDLL[kConfigTextSize];
    char DataOemuniini[kConfigTextSize];
    char DataOemuiDLL[kConfigTextSize];
    char ControlFontFile[kConfigTextSize];
    char USBInternalID[kConfigTextSize];
    char LanguageResourceFile[kLanguageResourceFiles][kConfigTextSize];
};

// The USB language monitor: the spooler's monitor record and its configured version.
struct LangMonitorRecord {
    MONITOR_INFO_2A monitor;
    int version;
};

// The serial and USB port monitors.
struct PortMonitorRecord {
    MONITOR_INFO_2A comMonitor;
    MONITOR_INFO_2A usbMonitor;
    char comUiDll[kConfigTextSize];
    char usbUiDll[kConfigTextSize];
    int comVersion;
    int usbVersion;
};

// Room for the dependent-file list whatever the package names: the data file,
// the three Unidrv files and four optional names, each at most 199
// characters, every one with its zero, and the list's closing zero.
constexpr size_t kDependentFilesSize =
    5 * kConfigTextSize + sizeof("TTFSUB.GPD") + sizeof("UNIRES.DLL") + sizeof("STDNAMES.GPD") + 1;

class CDriverConfig {
public:
    // Fixes the five file paths from the program folder and the 64-bit flag.
    CDriverConfig();
    virtual ~CDriverConfig();

    // DEVICENUMBER of the catalogue.
    int GetDeviceCount() const;
    // Model name of catalogue entry n into buffer; returns its category, or -1
    // when the entry has no category suffix (buffer then holds the whole value).
    int GetDeviceName(int n, char (&buffer)[kConfigTextSize]) const;
    // As GetDeviceName for the entry numbered by DEFAULTNAME.
    int GetDefaultDevice(char (&buffer)[kConfigTextSize]) const;

    // The record builders read the category file of m_nCategory. Raster 1
    // selects the GDI keys, 0 the STD keys, any other value neither. Records
    // point into this object's fields and are valid until the next call that
    // fills the same fields.
    int GetProcessorVersion() const;
    bool IsDdkDriver(const char* model, int os, int raster);
    void GetDriverFiles(const char* model, int os, DriverFileList& list, int raster, int portKind);
    void GetDriverInfo(const char* model, int os, DRIVER_INFO_3A& record, int raster, int portKind);
    void GetPrinterInfo(const char* model, int os, PRINTER_INFO_2A& record, int raster, int portKind);
    void GetLangMonitorInfo(const char* model, int os, LangMonitorRecord& record, int portKind);
    void GetPortMonitorInfo(int os, PortMonitorRecord& record);

    char m_szDriverName[kConfigTextSize] = {};
    char m_szDataFile[kConfigTextSize] = {};
    char m_szDriverPath[kConfigTextSize] = {};
    char m_szHelpFile[kConfigTextSize] = {};
    char m_szConfigFile[kConfigTextSize] = {};
    char m_szDataFileDll[kConfigTextSize] = {};
    char m_szOemuiDll[kConfigTextSize] = {};
    char m_szOemuniDll[kConfigTextSize] = {};
    char m_szOemuniIni[kConfigTextSize] = {};
    // Zero-terminated names, the list ended by an empty name.
    char m_szDependentFiles[kDependentFilesSize] = {};
    char m_szUsbMonName[kConfigTextSize] = {};
    char m_szUsbMonDll[kConfigTextSize] = {};
    char m_szComMonName[kConfigTextSize] = {};
    char m_szComMonDll[kConfigTextSize] = {};
    char m_szLangMonName[kConfigTextSize] = {};
    char m_szLangMonDll[kConfigTextSize] = {};
    char m_szPrnDriverName[kConfigTextSize] = {};
    char m_szAttributes[kConfigTextSize] = {};
    char m_szPrintProcessor[kConfigTextSize] = {};
    char m_szPrinterName[kConfigTextSize] = {};

    // Category whose file the record builders read; set by the object's user.
    int m_nCategory = 0;
    // Category file of the record being built.
    char m_szIni[kConfigTextSize] = {};
    char m_szCategoryIni[kCategoryCount][kConfigTextSize] = {};
    char m_szSetupIni[kConfigTextSize] = {};

private:
    // The model's section for the target system; also sets m_szIni.
    std::string SelectModelSection(const char* model, int os);
    // Reads a key of the model section into a field, cut to maxLength.
    void ReadModelKey(const std::string& section, const std::string& key, char* field, size_t maxLength);
    void ReadDriverName(const std::string& section, int os, int& raster, int portKind, char* field);
    void BuildDependentFiles(const std::string& section, int os);
};

// Section suffix of a target system (".98" ... ".Win7"); "" outside 0 to 7.
const char* OsSectionSuffix(int os);
