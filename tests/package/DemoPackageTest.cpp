// The demo setup folder is the program's own package: every text the program
// looks up and every section its configuration readers need must be there.

#include "config/DriverConfig.h"
#include "config/LangText.h"
#include "config/ProfileReader.h"
#include "platform/Wow64.h"
#include "support/SetupFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct LangKeys {
    const char* section;
    std::vector<const char*> keys;
};

const LangKeys kLanguageInventory[] = {
    {"Message",
     {"IDS_X64", "IDS_X32", "IDS_ERR_SYSTEM", "IDS_ADMIN", "IDS_ABOUTBOX", "IDS_ERR_NOLEFT",
      "IDS_TYPICAL_NOTES", "IDS_NOTSUPPORTNT", "IDS_NOTSUPPORT2003", "IDS_NOTSUPPORTVISTA",
      "IDS_NOTSUPPORT2008", "IDS_NOTSUPPORTWin7", "IDS_ERR_NOLICENSE", "IDS_ERR_UNSUPPORTCOM",
      "IDS_ERR_UPDATEUSB", "IDS_ERR_SELPRINTER", "IDS_ERR_NOSUPPORTINTERFACE",
      "IDS_ERR_CLASSPRINTERNONEXIST", "IDS_ERR_ONEPRINTER", "IDS_ERR_CLASSPRINTERIDERROR",
      "IDS_ERR_IPADDRISNULL", "IDS_ERR_ADDPORTERROR", "IDS_ERR_NOUSBDEVICE", "IDS_INF_CHANGEID",
      "IDS_ERR_NOSUPPORTUSB", "IDS_INF_RESTART", "IDS_ERR_EXITWIN", "IDS_INF_NTRESTART",
      "IDS_INF_USBRESTART", "IDS_ERR_NEEDRESTART", "IDS_ERR_LOSTDRIVERFILE", "IDS_ERR_COPYFIEL",
      "IDS_ERR_COPYFIEL1", "IDS_ERR_GETPRODIR", "IDS_ERR_GETDRIVERDIR", "IDS_ERR_GETSYSDIR",
      "IDS_ERR_GETWINDIR", "IDS_ERR_DIRTYPE", "IDS_ERR_ALLOCMEMORY", "IDS_ERR_TOOMANY",
      "IDS_ERR_ADDPRINTER", "IDS_ERR_ADDPRNDRV3", "IDS_ERR_ADDMONITOR", "IDS_ERR_ADDPROCESSOR",
      "IDS_ERR_HARDWAREIDNULL"}},
    {"Setup", {"Close", "Nonsupport", "PortNull", "Back", "Next", "Install", "Cancel", "Caption", "Help"}},
    {"About", {"Version", "Copyright", "OK", "Caption"}},
    {"Help Guide", {"Caption", "Name"}},
    {"System", {"Select"}},
    {"Series", {"Select", "Receipt", "Ticket", "Label", "Embedded", "Default"}},
    {"Mode", {"Type", "Typical", "Advanced", "Remarks", "Note1", "Note2", "Note3"}},
    {"Confirm",
     {"Set", "Ports", "Com", "BaudRate", "Parity", "ByteSize", "StopBits", "Protocol", "Raster",
      "Parity.Even", "Parity.Mark", "Parity.None", "Parity.Odd", "Parity.Space", "Protocol.None",
      "Protocol.Xonoff", "Protocol.Hardware"}},
    {"Legal", {"Agreement", "Accept", "Reject"}},
    {"Progress", {"Wait"}},
};

const char* const kOsSuffixes[] = {".98", ".NT", ".2K", ".XP", ".2003", ".Vista", ".2008", ".Win7"};

} // namespace

TEST(DemoPackage, HasATextForEveryKeyTheProgramLooksUp)
{
    SetupFolder folder;
    folder.CopyDemoPackage();
    for (const LangKeys& section : kLanguageInventory) {
        CLangText texts(section.section);
        for (const char* key : section.keys)
            EXPECT_FALSE(texts.GetText(key).empty()) << section.section << "/" << key;
    }
    // A running wizard is recognised by this title.
    EXPECT_EQ(CLangText("Setup").GetText("Caption"), "Printer Driver Setup");
}

TEST(DemoPackage, EveryCatalogueModelHasItsSectionsInBothArchitecturesFiles)
{
    SetupFolder folder;
    folder.CopyDemoPackage();
    for (bool wow64 : {false, true}) {
        g_bWow64 = wow64;
        CDriverConfig config;
        const int count = config.GetDeviceCount();
        ASSERT_GE(count, 4);
        bool categories[kCategoryCount] = {};
        for (int n = 1; n <= count; ++n) {
            char model[kConfigTextSize];
            int category = config.GetDeviceName(n, model);
            ASSERT_GE(category, 0) << "entry " << n;
            categories[category] = true;
            const char* file = config.m_szCategoryIni[category];
            const std::string port = std::string(model) + ".PORT";
            int ports = 0;
            for (const char* key : {"USBSUPPORTED", "LPTSUPPORTED", "COMSUPPORTED", "NETSUPPORTED"})
                ports += ReadProfileNumber(file, port.c_str(), key, 199);
            EXPECT_GT(ports, 0) << model;
            for (const char* suffix : kOsSuffixes) {
                const std::string section = model + std::string(suffix);
                char name[50];
                ReadProfileText(file, section.c_str(), "DriverNameU", "", name);
                EXPECT_STRNE(name, "") << section << (wow64 ? " (64-bit)" : "");
            }
        }
        for (bool used : categories)
            EXPECT_TRUE(used);
        char model[kConfigTextSize];
        EXPECT_GE(config.GetDefaultDevice(model), 0);
    }
    g_bWow64 = false;
}
