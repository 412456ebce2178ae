#pragma once
// Plain registry reads and clean-up for tests, independent of the program's
// own registry code.

#include <windows.h>

#include <string>

bool KeyExists(const std::string& subkey, REGSAM view = 0);

// Deletes a key of HKEY_LOCAL_MACHINE (or below root) with everything below
// it (the program's target systems have no RegDeleteTree).
void DeleteKeyTree(HKEY root, const std::string& subkey);

struct RawValue {
    LONG status = ERROR_FILE_NOT_FOUND;
    DWORD type = 0;
    std::string data;
};

// Reads a value of HKEY_LOCAL_MACHINE the plain way, in the given registry view.
RawValue ReadRaw(const std::string& subkey, const char* name, REGSAM view = 0);
