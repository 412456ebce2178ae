#include "platform/SystemMessage.h"

#include "platform/PlatformApi.h"

bool DescribeSystemError(DWORD code, std::string& description)
{
    description.clear();
    char* text = nullptr;
    DWORD len = g_platformApi.formatMessage(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM,
        nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPSTR>(&text), 0,
        nullptr);
    if (len == 0 || text == nullptr)
        return false;
    description.assign(text, len);
    ::LocalFree(text);
    return true;
}
