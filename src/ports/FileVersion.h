#pragma once
// The FileVersion text of a file's version resource.

#include <string>

// The version resource's FileVersion string (first translation), or
// "0.0.0.0" when the file has none, it is empty or cannot be read, or the
// file does not exist.
std::string GetFileVersionText(const char* path);
