#pragma once
// The folders that installed files go to, and the packaged files they come
// from. Each folder query fills a fixed buffer of the size the system calls
// are given and fails, leaving the text empty, when the system names no
// folder or one that does not fit.

#include <windows.h>

#include <string>

// The spooler's printer driver directory (no server, the default environment).
bool GetDriverDirectory(std::string& directory, DWORD bufferSize = 256);
// The spooler's print processor directory (no server, the default environment).
bool GetProcessorDirectory(std::string& directory, DWORD bufferSize = 256);
bool GetSystemFolder(std::string& directory, UINT bufferSize = 256);
bool GetWindowsFolder(std::string& directory, UINT bufferSize = 260);
// The system's temporary folder, with its trailing backslash.
bool GetTempFolder(std::string& directory);

// A packaged file: the program's folder, "W64\" on 64-bit Windows or "W32\"
// otherwise, and the name.
std::string PackageFilePath(const char* name);

// A file search on the path finds something (a file or a folder).
bool PathFound(const std::string& path);
