#include "platform/AdminCheck.h"

#include "platform/Handles.h"

#include <windows.h>

#include <vector>

int IsUserAdmin()
{
    KernelHandle token;
    if (!::OpenThreadToken(::GetCurrentThread(), TOKEN_QUERY, FALSE, token.Receive())) {
        if (::GetLastError() != ERROR_NO_TOKEN)
            return 0;
        if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.Receive()))
            return 0;
    }

    DWORD size = 0;
    if (::GetTokenInformation(token.Get(), TokenGroups, nullptr, 0, &size)
        || ::GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return 0;
    // Whole DWORDs keep the group list aligned.
    std::vector<DWORD> buffer((size + 3) / 4);
    if (!::GetTokenInformation(token.Get(), TokenGroups, buffer.data(),
                               static_cast<DWORD>(buffer.size() * 4), &size))
        return 0;

    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    SidOwner admins;
    if (!::AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                    DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, admins.Receive()))
        return 0;

    const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
    for (DWORD i = 0; i < groups->GroupCount; ++i) {
        if (::EqualSid(groups->Groups[i].Sid, admins.Get()))
            return 1;
    }
    return 0;
}
