#pragma once
// Bounded copies into the fixed text buffers that the program's records and
// readers use. Every function keeps the destination zero-terminated and tells
// whether the whole source fitted.

#include <cstddef>
#include <cstring>

// Copies src into dst (size bytes). Returns false when src had to be cut.
inline bool CopyText(char* dst, size_t size, const char* src)
{
    if (size == 0)
        return false;
    size_t len = std::strlen(src);
    bool fits = len < size;
    if (!fits)
        len = size - 1;
    std::memmove(dst, src, len);
    dst[len] = '\0';
    return fits;
}

// Appends src to the text already in dst. Returns false when src had to be cut.
inline bool AppendText(char* dst, size_t size, const char* src)
{
    size_t used = strnlen(dst, size);
    if (used >= size)
        return false;
    return CopyText(dst + used, size - used, src);
}

template <size_t N>
inline bool CopyText(char (&dst)[N], const char* src) { return CopyText(dst, N, src); }

template <size_t N>
inline bool AppendText(char (&dst)[N], const char* src) { return AppendText(dst, N, src); }
