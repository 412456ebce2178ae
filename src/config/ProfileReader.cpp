#include "config/ProfileReader.h"

#include "platform/BoundedText.h"

#include <windows.h>

#include <climits>
#include <vector>

void ReadProfileText(const char* file, const char* section, const char* key,
                     const char* defaultText, char* out, size_t size)
{
    if (size == 0)
        return;
    if (file == nullptr || file[0] == '\0' || section == nullptr || section[0] == '\0') {
        CopyText(out, size, defaultText);
        return;
    }
    DWORD bufferSize = size > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<DWORD>(size);
    ::GetPrivateProfileStringA(section, key, defaultText, out, bufferSize, file);
    out[size - 1] = '\0';
}

int ReadProfileNumber(const char* file, const char* section, const char* key, size_t maxLength)
{
    std::vector<char> value(maxLength + 1, '\0');
    ReadProfileText(file, section, key, "0", value.data(), value.size());
    return ParseConfigNumber(value.data());
}

int ReadProfileInt(const char* file, const char* section, const char* key)
{
    if (file == nullptr || file[0] == '\0')
        return 0;
    return static_cast<int>(::GetPrivateProfileIntA(section, key, 0, file));
}

long ParseConfigLong(const char* text)
{
    const char* p = text;
    while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n' || *p == '\v' || *p == '\f')
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (value <= static_cast<long long>(LONG_MAX) + 1)
            value = value * 10 + (*p - '0');
    }
    if (negative)
        value = -value;
    if (value > LONG_MAX)
        return LONG_MAX;
    if (value < LONG_MIN)
        return LONG_MIN;
    return static_cast<long>(value);
}

int ParseConfigNumber(const char* text)
{
    // long is 32 bits on Windows, the same range as int.
    return static_cast<int>(ParseConfigLong(text));
}
