#include "install/Cabinets.h"

#include "install/DeployFolders.h"
#include "install/FileSearch.h"
#include "platform/BoundedText.h"
#include "platform/Wow64.h"

#include <setupapi.h>

#include <cstring>

bool g_bExtractPending = true;
std::vector<std::string> g_cabinetNames;

const char* const kUnidrvCabinetMembers[6] = {
    "unidrvui.dll", "unidrv.dll", "unires.dll", "unidrv.hlp", "stdnames.gpd", "ttfsub.gpd",
};

namespace {

// The folders of the last extraction; only the installation thread uses them.
char g_cabinetFolder[MAX_PATH] = {};
char g_extractFolder[MAX_PATH] = {};

bool IsUnidrvMember(const char* name)
{
    for (const char* member : kUnidrvCabinetMembers) {
        if (std::strcmp(name, member) == 0)
            return true;
    }
    return false;
}

} // namespace

bool ExtractUnidrvFromCabinets()
{
    std::string windows;
    if (!GetWindowsFolder(windows))
        return false;
    const std::string folder = windows + (g_bWow64 ? "\\Driver Cache\\AMD64\\" : "\\Driver Cache\\i386\\");
    // A cut folder would name some other folder.
    if (!CopyText(g_cabinetFolder, folder.c_str())) {
        g_cabinetFolder[0] = '\0';
        return false;
    }
    CollectCabinets(g_cabinetFolder);

    bool extracted = false;
    for (const std::string& name : g_cabinetNames) {
        std::string temp;
        if (!GetTempFolder(temp) || !CopyText(g_extractFolder, temp.c_str())) {
            extracted = false;
            continue;
        }
        extracted = ExtractCabinet((std::string(g_cabinetFolder) + name).c_str());
    }
    return extracted;
}

void CollectCabinets(const char* folder)
{
    FileSearch search;
    if (!search.First(std::string(folder) + "*.cab"))
        return;
    do {
        g_cabinetNames.emplace_back(search.Found().cFileName);
    } while (search.Next());
}

bool ExtractCabinet(const char* cabinetPath)
{
    return ::SetupIterateCabinetA(cabinetPath, 0, CabinetFileCallback, nullptr) != FALSE;
}

UINT CALLBACK CabinetFileCallback(PVOID /*context*/, UINT notification, UINT_PTR param1, UINT_PTR /*param2*/)
{
    if (notification != SPFILENOTIFY_FILEINCABINET)
        return NO_ERROR;
    auto* member = reinterpret_cast<FILE_IN_CABINET_INFO_A*>(param1);
    // A target cut short would name some other file: such a member is skipped.
    if (!CopyText(member->FullTargetName, g_extractFolder)
        || !AppendText(member->FullTargetName, member->NameInCabinet))
        return FILEOP_SKIP;
    return IsUnidrvMember(member->NameInCabinet) ? FILEOP_DOIT : FILEOP_SKIP;
}
