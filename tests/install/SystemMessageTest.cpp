#include "platform/SystemMessage.h"

#include "support/ScopedPlatformApi.h"

#include <gtest/gtest.h>

namespace {

DWORD WINAPI NoDescription(DWORD, LPCVOID, DWORD, DWORD, LPSTR, DWORD, va_list*)
{
    ::SetLastError(ERROR_MR_MID_NOT_FOUND);
    return 0;
}

} // namespace

TEST(DescribeSystemError, TheSystemsTextOrNothing)
{
    std::string description;
    EXPECT_TRUE(DescribeSystemError(ERROR_ACCESS_DENIED, description));
    EXPECT_NE(description.find("ccess"), std::string::npos) << description;

    ScopedPlatformApi api;
    g_platformApi.formatMessage = NoDescription;
    EXPECT_FALSE(DescribeSystemError(ERROR_ACCESS_DENIED, description));
    EXPECT_EQ(description, "");
}
