#include "config/DriverConfig.h"

#include "config/ProfileReader.h"
#include "platform/ProgramFolder.h"
#include "platform/Wow64.h"

#include <cstdio>
#include <cstring>

namespace {

// Searched in this order; the first one found ends the model name.
const char* const kCategorySuffixes[kCategoryCount] = {
    "-ReceiptPrinter", "-TicketPrinter", "-LabelPrinter", "-EmbeddedPrinter",
};

} // namespace

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
