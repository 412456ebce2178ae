#pragma once
// The system's description of an error code, as failure texts show it.

#include <windows.h>

#include <string>

// The system's message text for code (neutral language). False, and an empty
// description, when the system has none.
bool DescribeSystemError(DWORD code, std::string& description);
