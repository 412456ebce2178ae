#pragma once
// Readers of the setup folder's configuration by path relative to the program
// folder, and the names of its files.

#include <cstddef>
#include <string>

// Size of the path and text buffers that the configuration readers fill.
constexpr size_t kConfigTextSize = 200;
// Size of the module-path buffers of the readers that build their own path.
constexpr size_t kModulePathSize = 260;

constexpr const char* kSetupIniName = "DRVCONFIG\\setup.ini";
constexpr const char* kCatalogueSection = "DEVICENAME";

// Name of a category's file relative to the program folder, for 32-bit or
// 64-bit Windows; nullptr for a category outside 0 to 3. The wizard spells
// three of the names with a capital letter; Windows ignores the difference.
const char* CategoryIniName(int category, bool wow64, bool wizardCase = false);

// Integer of key in section of file (relative to the program folder).
int ReadConfigInt(const char* file, const char* section, const char* key);

// Integer and text of a key in section DEVICENAME of setup.ini.
int ReadSetupInt(const char* key);
std::string ReadSetupString(const char* key);

// Full paths of setup.ini and of the category's file into two buffers of
// kConfigTextSize bytes. For a category outside 0 to 3 categoryIni holds only
// the program folder. A path that does not fit leaves its buffer empty.
void GetConfigPaths(int category, char* setupIni, char* categoryIni);
