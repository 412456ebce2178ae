#include "ports/FileVersion.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr const char* kNoVersion = "0.0.0.0";

} // namespace

std::string GetFileVersionText(const char* path)
{
    if (path == nullptr || *path == '\0')
        return kNoVersion;
    DWORD ignored = 0;
    DWORD size = ::GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0)
        return kNoVersion;
    std::vector<BYTE> block(size);
    if (!::GetFileVersionInfoA(path, 0, size, block.data()))
        return kNoVersion;

    void* translation = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &translation, &length)
        || translation == nullptr || length < 2 * sizeof(WORD))
        return kNoVersion;
    const WORD* languageAndCodePage = static_cast<const WORD*>(translation);

    char query[64];
    std::snprintf(query, sizeof(query), "\\StringFileInfo\\%04x%04x\\FileVersion", languageAndCodePage[0],
                  languageAndCodePage[1]);
    void* value = nullptr;
    if (!::VerQueryValueA(block.data(), query, &value, &length) || value == nullptr)
        return kNoVersion;
    // The text need not end within the block: it is read no further than the
    // block, or than the length the query gave when it lies elsewhere.
    const char* text = static_cast<const char*>(value);
    const BYTE* at = static_cast<const BYTE*>(value);
    const BYTE* end = block.data() + block.size();
    const size_t room = at >= block.data() && at < end ? static_cast<size_t>(end - at) : length;
    std::string version(text, strnlen(text, room));
    return version.empty() ? kNoVersion : version;
}
