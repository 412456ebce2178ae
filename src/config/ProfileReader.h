#pragma once
// How every value of the setup folder's INI files is read: a missing file,
// section or key gives the default, names ignore case, a long value is cut to
// the reader's maximum length, and numbers are leading decimal digits.

#include <cstddef>
#include <string>

// Reads a text value into out (size bytes: values are cut to size - 1
// characters). An empty file path reads as a file without keys.
void ReadProfileText(const char* file, const char* section, const char* key,
                     const char* defaultText, char* out, size_t size);

template <size_t N>
inline void ReadProfileText(const char* file, const char* section, const char* key,
                            const char* defaultText, char (&out)[N])
{
    ReadProfileText(file, section, key, defaultText, out, N);
}

// Reads a value of at most maxLength characters (default "0") as a number.
int ReadProfileNumber(const char* file, const char* section, const char* key, size_t maxLength);

// The platform's integer reader (default 0), for the one section that is read
// with it: the USB port numbers of SUPPORTED-USB-DEVICE.
int ReadProfileInt(const char* file, const char* section, const char* key);

// Decimal conversion of a configuration value: leading white space skipped, an
// optional sign, then digits up to the first other character; no digits give
// 0. Values beyond the int range saturate instead of wrapping.
int ParseConfigNumber(const char* text);
long ParseConfigLong(const char* text);
