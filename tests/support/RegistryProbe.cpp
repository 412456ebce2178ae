#include "support/RegistryProbe.h"

#include <vector>

bool KeyExists(const std::string& subkey, REGSAM view)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

void DeleteKeyTree(HKEY root, const std::string& subkey)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, subkey.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    std::vector<std::string> children;
    char child[256];
    DWORD length = sizeof(child);
    while (::RegEnumKeyExA(key, static_cast<DWORD>(children.size()), child, &length, nullptr, nullptr, nullptr,
                           nullptr)
           == ERROR_SUCCESS) {
        children.push_back(child);
        length = sizeof(child);
    }
    for (const std::string& name : children)
        DeleteKeyTree(key, name);
    ::RegCloseKey(key);
    ::RegDeleteKeyA(root, subkey.c_str());
}

RawValue ReadRaw(const std::string& subkey, const char* name, REGSAM view)
{
    RawValue value;
    HKEY key = nullptr;
    value.status = ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, KEY_READ | view, &key);
    if (value.status != ERROR_SUCCESS)
        return value;
    char data[256] = {};
    DWORD size = sizeof(data);
    value.status = ::RegQueryValueExA(key, name, nullptr, &value.type, reinterpret_cast<BYTE*>(data), &size);
    if (value.status == ERROR_SUCCESS)
        value.data.assign(data, size);
    ::RegCloseKey(key);
    return value;
}
