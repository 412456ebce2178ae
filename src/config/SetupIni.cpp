#include "config/SetupIni.h"

#include "config/ProfileReader.h"
#include "platform/BoundedText.h"
#include "platform/ProgramFolder.h"
#include "platform/Wow64.h"

#include <cstring>

namespace {

struct CategoryFiles {
    const char* name32;
    const char* name64;
    const char* wizardName32;
    const char* wizardName64;
};

const CategoryFiles kCategoryFiles[] = {
    {"DRVCONFIG\\setup_receipt.ini", "DRVCONFIG\\setup_receipt_64.ini",
     "DRVCONFIG\\setup_receipt.ini", "DRVCONFIG\\setup_receipt_64.ini"},
    {"DRVCONFIG\\setup_ticket.ini", "DRVCONFIG\\setup_ticket_64.ini",
     "DRVCONFIG\\setup_Ticket.ini", "DRVCONFIG\\setup_Ticket_64.ini"},
    {"DRVCONFIG\\setup_label.ini", "DRVCONFIG\\setup_label_64.ini",
     "DRVCONFIG\\setup_Label.ini", "DRVCONFIG\\setup_Label_64.ini"},
    {"DRVCONFIG\\setup_embedded.ini", "DRVCONFIG\\setup_embedded_64.ini",
     "DRVCONFIG\\setup_Embedded.ini", "DRVCONFIG\\setup_Embedded_64.ini"},
};

std::string ReadConfigText(const char* file, const char* section, const char* key)
{
    char path[kModulePathSize];
    BuildProgramFilePath(file, path);
    char value[kConfigTextSize] = {};
    ReadProfileText(path, section, key, "0", value);
    return value;
}

} // namespace

const char* CategoryIniName(int category, bool wow64, bool wizardCase)
{
    if (category < 0 || category > 3)
        return nullptr;
    const CategoryFiles& f = kCategoryFiles[category];
    if (wizardCase)
        return wow64 ? f.wizardName64 : f.wizardName32;
    return wow64 ? f.name64 : f.name32;
}

int ReadConfigInt(const char* file, const char* section, const char* key)
{
    return ParseConfigNumber(ReadConfigText(file, section, key).c_str());
}

int ReadSetupInt(const char* key)
{
    return ReadConfigInt(kSetupIniName, kCatalogueSection, key);
}

std::string ReadSetupString(const char* key)
{
    return ReadConfigText(kSetupIniName, kCatalogueSection, key);
}

void GetConfigPaths(int category, char* setupIni, char* categoryIni)
{
    BuildProgramFilePath(kSetupIniName, setupIni, kConfigTextSize);
    const char* name = CategoryIniName(category, g_bWow64, true);
    BuildProgramFilePath(name != nullptr ? name : "", categoryIni, kConfigTextSize);
}
