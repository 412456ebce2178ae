#pragma once
// Owner of one open registry key with typed reads and writes, and key creation.
// On 64-bit Windows every open and create uses the native 64-bit view, where
// the spooler and the driver keys live.

#include "platform/Handles.h"

#include <windows.h>

// Access rights of every open and create: the 64-bit view with the rights the
// installer needs there when g_bWow64 is set, otherwise KEY_ALL_ACCESS.
REGSAM RegistryAccessRights();

// Creates root\subkey (and the keys above it) when missing. True when the key
// exists afterwards.
bool CreateRegistryKey(HKEY root, const char* subkey);

class CRegistryKey {
public:
    CRegistryKey() = default;
    ~CRegistryKey() { Close(); }

    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;

    // Closes the key held so far, then opens root\subkey.
    bool Open(HKEY root, const char* subkey);
    // False when no key is open or closing failed.
    bool Close();
    bool IsOpen() const { return m_hKey.Valid(); }
    // The open key for calls of its own (enumeration); stays owned here.
    HKEY Handle() const { return m_hKey.Get(); }

    // Every operation below returns false at once, touching nothing, when no
    // key is open.

    // Reads the value's data, whatever its type, into buffer (size bytes).
    bool QueryValue(const char* name, void* buffer, DWORD size);
    // Reads a 4-byte value; error receives the registry's answer.
    bool QueryDword(const char* name, DWORD* value, DWORD* error = nullptr);
    bool SetDword(const char* name, DWORD value, DWORD* error = nullptr);
    // REG_SZ, stored with its terminating zero.
    bool SetString(const char* name, const char* text, DWORD* error = nullptr);
    bool SetValue(const char* name, const void* data, DWORD type, DWORD size);

    // The registry's answer to the last call (ERROR_SUCCESS or an error code).
    // The registry functions return their error instead of setting the
    // thread's last error, so the answer is kept from their result.
    DWORD m_nLastError = ERROR_SUCCESS;
    // Size class of the last value written: 4 for a number, 2000 for a text.
    DWORD m_nDataSize = 0;

private:
    RegistryKeyHandle m_hKey;
};
