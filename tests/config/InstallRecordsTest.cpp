#include "config/DriverConfig.h"

#include "support/SetupFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

const char* const kOsSuffix[] = {".98", ".NT", ".2K", ".XP", ".2003", ".Vista", ".2008", ".Win7"};
const char* const kReceiptIni = "DRVCONFIG\\setup_receipt.ini";

std::vector<std::string> MultiString(const char* list)
{
    std::vector<std::string> names;
    for (const char* p = list; *p != '\0'; p += std::strlen(p) + 1)
        names.push_back(p);
    return names;
}

// A receipt printer "M" whose every value names its family and target system,
// so that each case shows which key it came from.
class InstallRecordsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_bGdiStdSign = false;
        std::string ini;
        for (int os = 0; os < 8; ++os) {
            const std::string o = std::to_string(os);
            ini += std::string("[M") + kOsSuffix[os] + "]\r\n";
            ini += "GDIDriverName=GDI name " + o + "\r\n";
            for (const char* kind : {"S", "P", "U", "N"})
                ini += std::string("DriverName") + kind + "=" + kind + " name " + o + "\r\n";
            for (const char* family : {"GDI", "STD"}) {
                for (const char* key : {"DriverPath", "DataFile", "ConfigFile", "HelpFile", "DataFileDLLName",
                                        "DataOemuiDLL", "DataOemuniDLL", "DataOemuniini", "ProcessorDLLName",
                                        "PrintProcessor"})
                    ini += std::string(family) + key + "=" + family + " " + key + " " + o + "\r\n";
            }
            ini += "ATTRIBUTES=" + std::to_string(512 + os) + "\r\nControlFontFile=FONT" + o
                + ".TTF\r\nUSBInternalID=USBID" + o + ".DAT\r\nLanguageResourceFile1=LANG1_" + o
                + ".DLL\r\nLanguageResourceFile9=LANG9_" + o + ".DLL\r\nGDI2KDDKDEV=0\r\n";
        }
        folder.Write(kReceiptIni, ini);
        config.reset(new CDriverConfig);
        config->m_nCategory = kReceipt;
    }
    void TearDown() override { g_bGdiStdSign = false; }

    void SetModelKey(int os, const char* key, const std::string& value)
    {
        folder.Set(kReceiptIni, std::string("M") + kOsSuffix[os], key, value);
    }

    SetupFolder folder;
    std::unique_ptr<CDriverConfig> config;
};

struct DriverCase {
    int os;
    int portKind;
    int raster;
    bool gdiStdSign;
    const char* name;     // driver name read
    const char* family;   // family of the file keys, nullptr for none
};

const DriverCase kDriverCases[] = {
    // Windows 9x and NT 4.0 always read GDIDriverName, and the family follows
    // the raster flag even with GDISTDSign.
    {0, kPortCom, 0, false, "GDI name 0", "STD"},
    {0, kPortUsb, 1, false, "GDI name 0", "GDI"},
    {1, kPortNet, 1, false, "GDI name 1", "GDI"},
    {1, kPortUsb, 1, true, "GDI name 1", "GDI"},
    {0, kPortCom, 0, true, "GDI name 0", "STD"},
    // Windows 2000 and later: the name by port kind.
    {2, kPortCom, 1, false, "S name 2", "GDI"},
    {3, kPortLpt, 0, false, "P name 3", "STD"},
    {5, kPortUsb, 1, false, "U name 5", "GDI"},
    {7, kPortNet, 0, false, "N name 7", "STD"},
    // GDISTDSign: serial ports take GDI, USB ports STD, other ports the raster flag.
    {7, kPortCom, 0, true, "S name 7", "GDI"},
    {6, kPortUsb, 1, true, "U name 6", "STD"},
    {4, kPortLpt, 0, true, "P name 4", "STD"},
    {4, kPortNet, 1, true, "N name 4", "GDI"},
    // A raster flag other than 0 and 1 reads no file keys.
    {7, kPortLpt, 2, false, "P name 7", nullptr},
    {7, kPortUsb, -1, false, "U name 7", nullptr},
    {7, kPortUsb, 2, true, "U name 7", "STD"},
};

std::string Describe(const DriverCase& c)
{
    return "os " + std::to_string(c.os) + " port " + std::to_string(c.portKind) + " raster "
        + std::to_string(c.raster) + (c.gdiStdSign ? " GDISTDSign" : "");
}

std::string Expected(const char* family, const char* key, int os)
{
    return std::string(family) + " " + key + " " + std::to_string(os);
}

} // namespace

TEST_F(InstallRecordsTest, DriverRecordByTargetSystemPortKindAndFamily)
{
    for (const DriverCase& c : kDriverCases) {
        SCOPED_TRACE(Describe(c));
        g_bGdiStdSign = c.gdiStdSign;
        CDriverConfig fresh;
        fresh.m_nCategory = kReceipt;
        DRIVER_INFO_3A record = {};
        fresh.GetDriverInfo("M", c.os, record, c.raster, c.portKind);
        EXPECT_STREQ(record.pName, c.name);
        EXPECT_EQ(record.cVersion, c.os == 0 ? 0u : c.os == 1 ? 2u : 3u);
        if (c.os == 0)
            EXPECT_STREQ(record.pEnvironment, "Windows 4.0");
        else
            EXPECT_EQ(record.pEnvironment, nullptr);
        if (c.family != nullptr) {
            EXPECT_EQ(record.pDriverPath, Expected(c.family, "DriverPath", c.os));
            EXPECT_EQ(record.pDataFile, Expected(c.family, "DataFile", c.os));
            EXPECT_EQ(record.pConfigFile, Expected(c.family, "ConfigFile", c.os));
            EXPECT_EQ(record.pHelpFile, Expected(c.family, "HelpFile", c.os));
        } else {
            // Nothing read: the fields keep what they held (empty here).
            EXPECT_STREQ(record.pDriverPath, "");
            EXPECT_STREQ(record.pDataFile, "");
        }
    }
}

TEST_F(InstallRecordsTest, PrinterRecordFollowsTheDriverRecordsFamily)
{
    for (const DriverCase& c : kDriverCases) {
        SCOPED_TRACE(Describe(c));
        g_bGdiStdSign = c.gdiStdSign;
        CDriverConfig fresh;
        fresh.m_nCategory = kReceipt;
        PRINTER_INFO_2A record = {};
        fresh.GetPrinterInfo("M", c.os, record, c.raster, c.portKind);
        EXPECT_STREQ(record.pDriverName, c.name);
        EXPECT_STREQ(record.pPrinterName, "M");
        if (c.family != nullptr) {
            EXPECT_EQ(record.pPrintProcessor, Expected(c.family, "PrintProcessor", c.os));
            EXPECT_EQ(record.Attributes, static_cast<DWORD>(512 + c.os));
        } else {
            EXPECT_STREQ(record.pPrintProcessor, "");
            EXPECT_EQ(record.Attributes, 0u);
        }
        // Fields the caller owns stay as they were.
        EXPECT_EQ(record.pPortName, nullptr);
        EXPECT_EQ(record.pDatatype, nullptr);
    }
}

TEST_F(InstallRecordsTest, DriverFileListFamilyAppliesGdiStdSignOnEverySystem)
{
    struct Case {
        int os;
        int portKind;
        int raster;
        bool gdiStdSign;
        const char* family;
    } cases[] = {
        {0, kPortCom, 0, true, "GDI"},   // unlike the driver record
        {1, kPortUsb, 1, true, "STD"},   // unlike the driver record
        {7, kPortCom, 0, true, "GDI"},
        {7, kPortUsb, 1, true, "STD"},
        {3, kPortLpt, 1, true, "GDI"},
        {3, kPortLpt, 0, false, "STD"},
        {3, kPortNet, 7, false, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("os " + std::to_string(c.os) + " port " + std::to_string(c.portKind));
        g_bGdiStdSign = c.gdiStdSign;
        DriverFileList list = {};
        config->GetDriverFiles("M", c.os, list, c.raster, c.portKind);
        const std::string o = std::to_string(c.os);
        if (c.family != nullptr) {
            EXPECT_EQ(list.DriverPath, Expected(c.family, "DriverPath", c.os));
            EXPECT_EQ(list.DataFile, Expected(c.family, "DataFile", c.os));
            EXPECT_EQ(list.ConfigFile, Expected(c.family, "ConfigFile", c.os));
            EXPECT_EQ(list.HelpFile, Expected(c.family, "HelpFile", c.os));
            EXPECT_EQ(list.ProcessorDLLName, Expected(c.family, "ProcessorDLLName", c.os));
            EXPECT_EQ(list.DataFileDLLName, Expected(c.family, "DataFileDLLName", c.os));
            EXPECT_EQ(list.DataOemuiDLL, Expected(c.family, "DataOemuiDLL", c.os));
            EXPECT_EQ(list.DataOemuniDLL, Expected(c.family, "DataOemuniDLL", c.os));
            EXPECT_EQ(list.DataOemuniini, Expected(c.family, "DataOemuniini", c.os));
            EXPECT_EQ(list.ControlFontFile, "FONT" + o + ".TTF");
            EXPECT_EQ(list.USBInternalID, "USBID" + o + ".DAT");
        } else {
            EXPECT_STREQ(list.DriverPath, "");
            EXPECT_STREQ(list.ControlFontFile, "");
        }
        // The language resource files are read whatever the family.
        EXPECT_EQ(list.LanguageResourceFile[0], "LANG1_" + o + ".DLL");
        EXPECT_STREQ(list.LanguageResourceFile[1], "0");
        EXPECT_EQ(list.LanguageResourceFile[8], "LANG9_" + o + ".DLL");
    }
}

TEST_F(InstallRecordsTest, DependentFileList)
{
    SetModelKey(3, "GDI2KDDKDEV", "1");
    SetModelKey(3, "STDDataOemuiDLL", "0");
    DRIVER_INFO_3A record = {};
    config->GetDriverInfo("M", 3, record, 0, kPortLpt);
    EXPECT_EQ(MultiString(record.pDependentFiles),
              (std::vector<std::string>{"STD DataFile 3", "TTFSUB.GPD", "UNIRES.DLL", "STDNAMES.GPD",
                                        "STD DataFileDLLName 3", "STD DataOemuniDLL 3",
                                        "STD DataOemuniini 3"}));

    // A missing data file is listed as "0"; an empty optional name is left out.
    ::WritePrivateProfileStringA("M.XP", "STDDataFile", nullptr, folder.PathOf(kReceiptIni).c_str());
    SetModelKey(3, "STDDataOemuniDLL", "");
    config->GetDriverInfo("M", 3, record, 0, kPortLpt);
    EXPECT_EQ(MultiString(record.pDependentFiles),
              (std::vector<std::string>{"0", "TTFSUB.GPD", "UNIRES.DLL", "STDNAMES.GPD",
                                        "STD DataFileDLLName 3", "STD DataOemuniini 3"}));

    // No list without the flag, and none before Windows 2000.
    for (int os : {0, 1}) {
        SetModelKey(os, "GDI2KDDKDEV", "1");
        config->GetDriverInfo("M", os, record, 1, kPortLpt);
        EXPECT_STREQ(record.pDependentFiles, "") << os;
    }
    SetModelKey(3, "GDI2KDDKDEV", "0");
    config->GetDriverInfo("M", 3, record, 0, kPortLpt);
    EXPECT_STREQ(record.pDependentFiles, "");
}

TEST_F(InstallRecordsTest, DependentFileListHoldsTheLongestNamesThePackageCanGive)
{
    SetModelKey(7, "GDI2KDDKDEV", "12");
    std::vector<std::string> expected;
    const char* const keys[] = {"GDIDataFile", "GDIDataFileDLLName", "GDIDataOemuiDLL", "GDIDataOemuniDLL",
                                "GDIDataOemuniini"};
    for (int i = 0; i < 5; ++i) {
        std::string name = std::string(1, static_cast<char>('A' + i)) + std::string(5000, 'x');
        SetModelKey(7, keys[i], name);
        expected.push_back(name.substr(0, 199));
        if (i == 0) {
            for (const char* fixed : {"TTFSUB.GPD", "UNIRES.DLL", "STDNAMES.GPD"})
                expected.push_back(fixed);
        }
    }
    DRIVER_INFO_3A record = {};
    config->GetDriverInfo("M", 7, record, 1, kPortUsb);
    EXPECT_EQ(MultiString(record.pDependentFiles), expected);
    EXPECT_EQ(std::string(record.pDriverPath), "GDI DriverPath 7");
}

TEST_F(InstallRecordsTest, DdkFlag)
{
    SetModelKey(5, "GDI2KDDKDEV", "1");
    SetModelKey(5, "STD2KDDKDEV", "10");
    SetModelKey(6, "GDI2KDDKDEV", "01");
    SetModelKey(6, "STD2KDDKDEV", "2");
    struct Case {
        int os;
        int raster;
        bool ddk;
    } cases[] = {{5, 1, true}, {5, 0, true}, {5, 2, false}, {6, 1, false}, {6, 0, false}, {7, 1, false},
                 {9, 1, false}};
    for (const auto& c : cases)
        EXPECT_EQ(config->IsDdkDriver("M", c.os, c.raster), c.ddk) << c.os << " " << c.raster;
}

TEST_F(InstallRecordsTest, UnknownCategoryOrTargetSystemReadsDefaults)
{
    DRIVER_INFO_3A driver = {};
    PRINTER_INFO_2A printer = {};
    for (int os : {-1, 8, 1000}) {
        config->GetDriverInfo("M", os, driver, 1, kPortUsb);
        EXPECT_STREQ(driver.pDataFile, "0") << os;
        EXPECT_EQ(driver.cVersion, 3u);
        config->GetPrinterInfo("M", os, printer, 1, kPortUsb);
        EXPECT_STREQ(printer.pPrintProcessor, "0");
    }
    config->m_nCategory = 7;
    config->GetDriverInfo("M", 3, driver, 1, kPortUsb);
    EXPECT_STREQ(config->m_szIni, "");
    EXPECT_STREQ(driver.pName, "0");
    EXPECT_STREQ(driver.pDriverPath, "0");
    // The ticket printers' file has no model M.
    config->m_nCategory = kTicket;
    config->GetDriverInfo("M", 3, driver, 1, kPortUsb);
    EXPECT_STREQ(driver.pName, "0");
}

TEST_F(InstallRecordsTest, LongModelNameAndValues)
{
    const std::string model(199, 'Q');
    folder.Set(kReceiptIni, model + ".Win7", "DriverNameU", std::string(500, 'n'));
    folder.Set(kReceiptIni, model + ".Win7", "STDDriverPath", std::string(5000, 'p'));
    DRIVER_INFO_3A driver = {};
    config->GetDriverInfo(model.c_str(), 7, driver, 0, kPortUsb);
    EXPECT_EQ(std::string(driver.pName), std::string(49, 'n'));
    EXPECT_EQ(std::string(driver.pDriverPath), std::string(199, 'p'));
    PRINTER_INFO_2A printer = {};
    config->GetPrinterInfo(model.c_str(), 7, printer, 0, kPortUsb);
    EXPECT_EQ(std::string(printer.pPrinterName), model);
}

TEST_F(InstallRecordsTest, LanguageMonitor)
{
    folder.Write("DRVCONFIG\\setup.ini",
                 "[COMMON-MONITOR.Win7]\r\nUSBLMONitorName=TALVORN Language Monitor\r\n"
                 "USBLMONitorDLLName=TVLMON.DLL\r\nUSBLMONitorVersion=3\r\n"
                 "[COMMON-MONITOR.98]\r\nUSBLMONitorName=L9\r\nUSBLMONitorDLLName=L9.DLL\r\nUSBLMONitorVersion=1\r\n"
                 "[COMMON-MONITOR.XP]\r\nUSBLMONitorName=A\r\nUSBLMONitorDLLName=B\r\nUSBLMONitorVersion=4\r\n");
    LangMonitorRecord record = {};
    record.version = -5;
    config->GetLangMonitorInfo("M", 7, record, kPortUsb);
    EXPECT_STREQ(record.monitor.pName, "TALVORN Language Monitor");
    EXPECT_STREQ(record.monitor.pDLLName, "TVLMON.DLL");
    EXPECT_EQ(record.monitor.pEnvironment, nullptr);
    EXPECT_EQ(record.version, 3);

    config->GetLangMonitorInfo("M", 0, record, kPortUsb);
    EXPECT_STREQ(record.monitor.pEnvironment, "Windows 4.0");
    EXPECT_EQ(record.version, 1);

    // Three one-character values, or the defaults of missing keys: no monitor.
    for (int os : {3, 5}) {
        config->GetLangMonitorInfo("M", os, record, kPortUsb);
        EXPECT_STREQ(record.monitor.pName, "") << os;
        EXPECT_STREQ(record.monitor.pDLLName, "");
        EXPECT_EQ(record.version, 0);
    }

    // Ports other than USB have no language monitor; version and environment
    // stay as they were.
    config->GetLangMonitorInfo("M", 7, record, kPortUsb);
    for (int kind : {kPortCom, kPortLpt, kPortNet}) {
        config->GetLangMonitorInfo("M", 0, record, kind);
        EXPECT_STREQ(record.monitor.pName, "");
        EXPECT_STREQ(record.monitor.pDLLName, "");
        EXPECT_EQ(record.monitor.pEnvironment, nullptr);
        EXPECT_EQ(record.version, 3);
    }
}

TEST_F(InstallRecordsTest, PortMonitorsAndProcessorVersion)
{
    folder.Write("DRVCONFIG\\setup.ini",
                 "[COMMON-MONITOR.98]\r\nUSBMONitorPName=USB port\r\nUSBMONitorPDLLName=TVUSB9X.DLL\r\n"
                 "USBMONitorPUIDLLName=TVUSBUI9.DLL\r\nUSBMONitorVersion=2x\r\nCOMMONitorPName=COM port\r\n"
                 "COMMONitorPDLLName=TVCOM9X.DLL\r\nCOMMONitorPUIDLLName=TVCOMUI9.DLL\r\nCOMMONitorVersion= 5\r\n"
                 "[ProcessorVersion]\r\nDriverVersion=2a\r\n");
    PortMonitorRecord record = {};
    config->GetPortMonitorInfo(0, record);
    EXPECT_STREQ(record.usbMonitor.pName, "USB port");
    EXPECT_STREQ(record.usbMonitor.pDLLName, "TVUSB9X.DLL");
    EXPECT_STREQ(record.usbUiDll, "TVUSBUI9.DLL");
    EXPECT_EQ(record.usbVersion, 2);
    EXPECT_STREQ(record.comMonitor.pName, "COM port");
    EXPECT_STREQ(record.comMonitor.pDLLName, "TVCOM9X.DLL");
    EXPECT_STREQ(record.comUiDll, "TVCOMUI9.DLL");
    EXPECT_EQ(record.comVersion, 5);
    EXPECT_STREQ(record.usbMonitor.pEnvironment, "Windows 4.0");
    EXPECT_STREQ(record.comMonitor.pEnvironment, "Windows 4.0");

    config->GetPortMonitorInfo(7, record);
    EXPECT_STREQ(record.usbMonitor.pName, "0");
    EXPECT_STREQ(record.comUiDll, "0");
    EXPECT_EQ(record.comVersion, 0);
    EXPECT_EQ(record.usbMonitor.pEnvironment, nullptr);
    EXPECT_EQ(record.comMonitor.pEnvironment, nullptr);

    EXPECT_EQ(config->GetProcessorVersion(), 2);
}
