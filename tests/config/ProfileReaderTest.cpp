#include "config/ProfileReader.h"

#include <gtest/gtest.h>

TEST(ParseConfigNumber, ReadsLeadingDecimalDigits)
{
    struct Case {
        const char* text;
        int value;
    } cases[] = {
        {" 2x", 2}, {"0x10", 0}, {"-3", -3}, {"+7", 7}, {"", 0}, {"abc", 0},
        {"\t 42 ", 42}, {"2a", 2}, {"99999999999999999999", 2147483647},
        {"-99999999999999999999", -2147483647 - 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseConfigNumber(c.text), c.value) << '"' << c.text << '"';
}

#include "config/SetupIni.h"
#include "platform/Wow64.h"
#include "support/SetupFolder.h"

#include <string>

namespace {

const char* const kSetup = "DRVCONFIG\\setup.ini";

} // namespace

TEST(ReadingRules, SectionAndKeyNamesIgnoreCase)
{
    SetupFolder folder;
    folder.Write("DRVCONFIG\\setup_receipt.ini",
                 "[qmt-k410.xp]\r\nGDIDRIVERNAME=Receipt GDI\r\n[QMT-K410.PORT]\r\nusbSupported=1\r\n");
    const std::string file = folder.PathOf("DRVCONFIG\\setup_receipt.ini");
    char value[50];
    ReadProfileText(file.c_str(), "QMT-K410.XP", "GDIDriverName", "0", value);
    EXPECT_STREQ(value, "Receipt GDI");
    EXPECT_EQ(ReadProfileNumber(file.c_str(), "qmt-k410.port", "USBSUPPORTED", 199), 1);
}

TEST(ReadingRules, MissingFileSectionOrKeyGivesTheDefault)
{
    SetupFolder folder;
    folder.Set(kSetup, "DEVICENAME", "DEVICENUMBER", "3");
    const std::string file = folder.PathOf(kSetup);
    const std::string missingFile = folder.PathOf("DRVCONFIG\\none.ini");
    struct Case {
        const char* file;
        const char* section;
        const char* key;
        const char* defaultText;
    } cases[] = {
        {file.c_str(), "DEVICENAME", "SHELLEXENAME", "0"},
        {file.c_str(), "DEVICENAME", "Inffilename", "err"},
        {file.c_str(), "USBCLASSPRINTER", "QMT-K410(U)1", "ERR"},
        {file.c_str(), "NOSECTION", "DEVICENUMBER", "0"},
        {missingFile.c_str(), "DEVICENAME", "DEVICENUMBER", "0"},
        {"", "DEVICENAME", "DEVICENUMBER", "0"},
    };
    for (const Case& c : cases) {
        char value[200];
        ReadProfileText(c.file, c.section, c.key, c.defaultText, value);
        EXPECT_STREQ(value, c.defaultText) << c.section << "/" << c.key;
    }
    EXPECT_EQ(ReadSetupInt("LOADLICENSE"), 0);
    EXPECT_EQ(ReadSetupString("SHELLEXENAME"), "0");
}

TEST(ReadingRules, ValuesAreCutToTheReadersLength)
{
    SetupFolder folder;
    folder.Set(kSetup, "DEVICENAME", "SHELLEXENAME", std::string(5000, 'u'));
    folder.Set(kSetup, "DEVICENAME", "DEVICENUMBER", "1" + std::string(60, '0'));
    folder.Set(kSetup, "DEVICENAME", "LANGUAGE", std::string(300, '7'));
    EXPECT_EQ(ReadSetupString("SHELLEXENAME"), std::string(199, 'u'));

    char value[10];
    ReadProfileText(folder.PathOf(kSetup).c_str(), "DEVICENAME", "SHELLEXENAME", "0", value);
    EXPECT_STREQ(value, "uuuuuuuuu");
    // 49 characters of digits: far beyond an int, so the number saturates.
    EXPECT_EQ(ReadProfileNumber(folder.PathOf(kSetup).c_str(), "DEVICENAME", "DEVICENUMBER", 49),
              2147483647);
    EXPECT_EQ(ReadSetupInt("LANGUAGE"), 2147483647);
}

TEST(ReadingRules, IntegersAreLeadingDecimalDigitsOfTheText)
{
    SetupFolder folder;
    folder.Write(kSetup, "[DEVICENAME]\r\nA= 2x\r\nB=0x10\r\nC=-3\r\nD=12abc\r\n");
    EXPECT_EQ(ReadSetupInt("A"), 2);
    EXPECT_EQ(ReadSetupInt("B"), 0);
    EXPECT_EQ(ReadSetupInt("C"), -3);
    EXPECT_EQ(ReadSetupInt("D"), 12);
    EXPECT_EQ(ReadSetupInt("MISSING"), 0);
    EXPECT_EQ(ReadConfigInt(kSetup, "devicename", "d"), 12);
}

TEST(ReadingRules, UsbPortNumbersUseThePlatformIntegerReader)
{
    SetupFolder folder;
    folder.Write(kSetup, "[SUPPORTED-USB-DEVICE]\r\nUSB_QMT-K410_2=2\r\nUSB_QMT-K410_3= 3x\r\n");
    const std::string file = folder.PathOf(kSetup);
    EXPECT_EQ(ReadProfileInt(file.c_str(), "SUPPORTED-USB-DEVICE", "USB_QMT-K410_2"), 2);
    EXPECT_EQ(ReadProfileInt(file.c_str(), "supported-usb-device", "usb_qmt-k410_3"), 3);
    EXPECT_EQ(ReadProfileInt(file.c_str(), "SUPPORTED-USB-DEVICE", "USB_QMT-K410_4"), 0);
    EXPECT_EQ(ReadProfileInt(folder.PathOf("DRVCONFIG\\none.ini").c_str(), "SUPPORTED-USB-DEVICE",
                             "USB_QMT-K410_2"),
              0);
}

TEST(GetConfigPaths, CategoryFilesOnBothArchitectures)
{
    SetupFolder folder;
    const char* const names32[] = {"setup_receipt.ini", "setup_Ticket.ini", "setup_Label.ini",
                                   "setup_Embedded.ini"};
    const char* const names64[] = {"setup_receipt_64.ini", "setup_Ticket_64.ini",
                                   "setup_Label_64.ini", "setup_Embedded_64.ini"};
    for (bool wow64 : {false, true}) {
        g_bWow64 = wow64;
        for (int category = 0; category < 4; ++category) {
            char setupIni[kConfigTextSize];
            char categoryIni[kConfigTextSize];
            GetConfigPaths(category, setupIni, categoryIni);
            EXPECT_EQ(std::string(setupIni), folder.PathOf("DRVCONFIG\\setup.ini"));
            EXPECT_EQ(std::string(categoryIni),
                      folder.PathOf(std::string("DRVCONFIG\\") + (wow64 ? names64 : names32)[category]));
        }
    }
    g_bWow64 = false;
}

TEST(GetConfigPaths, UnknownCategoryLeavesTheBareFolderAndReadsDefaults)
{
    SetupFolder folder;
    char setupIni[kConfigTextSize];
    char categoryIni[kConfigTextSize];
    GetConfigPaths(4, setupIni, categoryIni);
    EXPECT_EQ(std::string(categoryIni), folder.Root());
    EXPECT_EQ(ReadProfileNumber(categoryIni, "QMT-K410.PORT", "USBSUPPORTED", 199), 0);
}

TEST(GetConfigPaths, PathsThatDoNotFitAreLeftEmpty)
{
    // A folder of 175 characters: setup.ini's path fits 200 bytes, the
    // embedded printers' file's path does not.
    SetupFolder folder(190);
    char setupIni[kConfigTextSize];
    char categoryIni[kConfigTextSize];
    GetConfigPaths(3, setupIni, categoryIni);
    EXPECT_EQ(std::string(setupIni), folder.ProgramPath().substr(0, 175) + "DRVCONFIG\\setup.ini");
    EXPECT_STREQ(categoryIni, "");
    // Reads from an empty path are reads from a file without keys.
    EXPECT_EQ(ReadProfileNumber(categoryIni, "X.PORT", "USBSUPPORTED", 199), 0);

    SetupFolder veryLong(400);
    GetConfigPaths(0, setupIni, categoryIni);
    EXPECT_STREQ(setupIni, "");
    EXPECT_STREQ(categoryIni, "");
    EXPECT_EQ(ReadSetupInt("DEVICENUMBER"), 0);
    EXPECT_EQ(ReadSetupString("SHELLEXENAME"), "0");
}
