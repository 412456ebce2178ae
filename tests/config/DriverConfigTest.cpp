#include "config/DriverConfig.h"

#include "platform/Wow64.h"
#include "support/SetupFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct NameCase {
    const char* entry;
    int category;
    const char* name;
};

} // namespace

TEST(Catalogue, NamesAndCategoriesOfEntries)
{
    SetupFolder folder;
    const NameCase cases[] = {
        {"QMT-K410-ReceiptPrinter", 0, "QMT-K410"},
        {"QMT-T880-TicketPrinter", 1, "QMT-T880"},
        {"QMT-L420-LabelPrinter", 2, "QMT-L420"},
        {"QMT-E58-EmbeddedPrinter", 3, "QMT-E58"},
        // Two suffixes: the one searched first wins, wherever it stands.
        {"A-TicketPrinter-ReceiptPrinter", 0, "A-TicketPrinter"},
        {"B-EmbeddedPrinter-LabelPrinter", 2, "B-EmbeddedPrinter"},
        // The suffix need not end the text.
        {"C-LabelPrinter (old)", 2, "C"},
        {"NoSuffixModel", -1, "NoSuffixModel"},
        {"-ReceiptPrinter", 0, ""},
    };
    std::vector<std::string> entries;
    for (const NameCase& c : cases)
        entries.push_back(c.entry);
    folder.Catalogue(entries);

    CDriverConfig config;
    EXPECT_EQ(config.GetDeviceCount(), static_cast<int>(entries.size()));
    for (size_t i = 0; i < entries.size(); ++i) {
        char name[kConfigTextSize];
        EXPECT_EQ(config.GetDeviceName(static_cast<int>(i + 1), name), cases[i].category) << cases[i].entry;
        EXPECT_STREQ(name, cases[i].name);
    }
    char name[kConfigTextSize];
    EXPECT_EQ(config.GetDeviceName(static_cast<int>(entries.size() + 1), name), -1);
    EXPECT_STREQ(name, "0");
}

TEST(Catalogue, LongEntriesAreCutTo199Characters)
{
    SetupFolder folder;
    const std::string model(5000, 'M');
    folder.Catalogue({model + "-LabelPrinter", std::string(195, 'N') + "-TicketPrinter"});
    CDriverConfig config;
    char name[kConfigTextSize];
    // The suffix lies beyond the cut: the entry has no category.
    EXPECT_EQ(config.GetDeviceName(1, name), -1);
    EXPECT_EQ(std::string(name), std::string(199, 'M'));
    // Only part of the suffix is left.
    EXPECT_EQ(config.GetDeviceName(2, name), -1);
    EXPECT_EQ(std::string(name), std::string(195, 'N') + "-Tic");
}

TEST(Catalogue, DefaultDevice)
{
    SetupFolder folder;
    folder.Catalogue({"QMT-K410-ReceiptPrinter", "QMT-L420-LabelPrinter"});
    CDriverConfig config;
    char name[kConfigTextSize];
    // Without DEFAULTNAME the entry number is 0, whose key is absent.
    EXPECT_EQ(config.GetDefaultDevice(name), -1);
    EXPECT_STREQ(name, "0");

    folder.Set("DRVCONFIG\\setup.ini", "DEVICENAME", "DEFAULTNAME", "2");
    EXPECT_EQ(config.GetDefaultDevice(name), 2);
    EXPECT_STREQ(name, "QMT-L420");

    folder.Set("DRVCONFIG\\setup.ini", "DEVICENAME", "DEFAULTNAME", " 1st");
    EXPECT_EQ(config.GetDefaultDevice(name), 0);
    EXPECT_STREQ(name, "QMT-K410");
}

TEST(DriverConfigPaths, FixedByTheArchitectureAtConstruction)
{
    SetupFolder folder;
    g_bWow64 = false;
    CDriverConfig before;
    g_bWow64 = true;
    CDriverConfig after;
    g_bWow64 = false;

    const char* const names[] = {"receipt", "ticket", "label", "embedded"};
    for (int category = 0; category < 4; ++category) {
        const std::string base = folder.PathOf(std::string("DRVCONFIG\\setup_") + names[category]);
        EXPECT_EQ(std::string(before.m_szCategoryIni[category]), base + ".ini");
        EXPECT_EQ(std::string(after.m_szCategoryIni[category]), base + "_64.ini");
    }
    EXPECT_EQ(std::string(before.m_szSetupIni), folder.PathOf("DRVCONFIG\\setup.ini"));
    EXPECT_STREQ(before.m_szIni, "");
}

TEST(DriverConfigPaths, AFolderTooLongForThePathsReadsAnEmptyCatalogue)
{
    SetupFolder folder(400);
    CDriverConfig config;
    EXPECT_STREQ(config.m_szSetupIni, "");
    for (int category = 0; category < 4; ++category)
        EXPECT_STREQ(config.m_szCategoryIni[category], "");
    EXPECT_EQ(config.GetDeviceCount(), 0);
    char name[kConfigTextSize];
    EXPECT_EQ(config.GetDeviceName(1, name), -1);
    EXPECT_STREQ(name, "0");
}
