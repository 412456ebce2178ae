#pragma once
// The configuration object: the model catalogue of setup.ini and the paths of
// the configuration files, fixed when the object is built.

#include "config/SetupIni.h"

// PrinterCategory codes.
enum PrinterCategory { kReceipt = 0, kTicket = 1, kLabel = 2, kEmbedded = 3 };
constexpr int kCategoryCount = 4;

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

    // Category whose file the record builders read; set by the object's user.
    int m_nCategory = 0;
    // Category file of the record being built.
    char m_szIni[kConfigTextSize] = {};
    char m_szCategoryIni[kCategoryCount][kConfigTextSize] = {};
    char m_szSetupIni[kConfigTextSize] = {};
};
