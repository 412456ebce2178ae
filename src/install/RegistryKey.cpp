#include "install/RegistryKey.h"

#include "platform/Wow64.h"

#include <cstring>

namespace {

const DWORD kNumberSizeClass = 4;
const DWORD kTextSizeClass = 2000;

} // namespace

REGSAM RegistryAccessRights()
{
    // A 32-bit installer on 64-bit Windows must not land in Wow6432Node.
    if (g_bWow64)
        return KEY_READ | KEY_WOW64_64KEY | KEY_CREATE_SUB_KEY | KEY_SET_VALUE;
    return KEY_ALL_ACCESS;
}

bool CreateRegistryKey(HKEY root, const char* subkey)
{
    RegistryKeyHandle key;
    LONG status = ::RegCreateKeyExA(root, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                    RegistryAccessRights(), nullptr, key.Receive(), nullptr);
    return status == ERROR_SUCCESS;
}

bool CRegistryKey::Open(HKEY root, const char* subkey)
{
    Close();
    LONG status = ::RegOpenKeyExA(root, subkey, 0, RegistryAccessRights(), m_hKey.Receive());
    m_nLastError = static_cast<DWORD>(status);
    if (status != ERROR_SUCCESS) {
        // Nothing was opened: what the call left in the handle is not ours to close.
        m_hKey.Release();
        return false;
    }
    return true;
}

bool CRegistryKey::Close()
{
    if (!m_hKey)
        return false;
    LONG status = ::RegCloseKey(m_hKey.Release());
    m_nLastError = static_cast<DWORD>(status);
    return status == ERROR_SUCCESS;
}

bool CRegistryKey::QueryValue(const char* name, void* buffer, DWORD size)
{
    if (!m_hKey)
        return false;
    DWORD dataSize = size;
    LONG status = ::RegQueryValueExA(m_hKey.Get(), name, nullptr, nullptr,
                                     static_cast<BYTE*>(buffer), &dataSize);
    m_nLastError = static_cast<DWORD>(status);
    return status == ERROR_SUCCESS;
}

bool CRegistryKey::QueryDword(const char* name, DWORD* value, DWORD* error)
{
    if (!m_hKey)
        return false;
    bool ok = QueryValue(name, value, sizeof(*value));
    if (error != nullptr)
        *error = m_nLastError;
    return ok;
}

bool CRegistryKey::SetDword(const char* name, DWORD value, DWORD* error)
{
    if (!m_hKey)
        return false;
    m_nDataSize = kNumberSizeClass;
    bool ok = SetValue(name, &value, REG_DWORD, sizeof(value));
    if (error != nullptr)
        *error = m_nLastError;
    return ok;
}

bool CRegistryKey::SetString(const char* name, const char* text, DWORD* error)
{
    if (!m_hKey)
        return false;
    m_nDataSize = kTextSizeClass;
    bool ok = SetValue(name, text, REG_SZ, static_cast<DWORD>(std::strlen(text) + 1));
    if (error != nullptr)
        *error = m_nLastError;
    return ok;
}

bool CRegistryKey::SetValue(const char* name, const void* data, DWORD type, DWORD size)
{
    if (!m_hKey)
        return false;
    LONG status = ::RegSetValueExA(m_hKey.Get(), name, 0, type, static_cast<const BYTE*>(data), size);
    m_nLastError = static_cast<DWORD>(status);
    return status == ERROR_SUCCESS;
}
