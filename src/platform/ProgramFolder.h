#pragma once
// Paths of the setup folder's own files, built from the folder of the running
// executable.

#include <cstddef>
#include <string>

// Folder of the running executable, with its trailing backslash. Empty when the
// path has no backslash or cannot be read.
std::string GetProgramFolder();

// Writes the program folder followed by relative (no leading backslash) into
// out. When the whole path does not fit into size bytes, out is left empty and
// the result is false: a cut path would name some other file.
bool BuildProgramFilePath(const char* relative, char* out, size_t size);

template <size_t N>
inline bool BuildProgramFilePath(const char* relative, char (&out)[N])
{
    return BuildProgramFilePath(relative, out, N);
}
