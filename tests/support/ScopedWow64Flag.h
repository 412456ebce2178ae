#pragma once
// Sets the 64-bit flag for one scope, then puts the previous value back.

#include "platform/Wow64.h"

class ScopedWow64Flag {
public:
    explicit ScopedWow64Flag(bool value) : m_saved(g_bWow64) { g_bWow64 = value; }
    ~ScopedWow64Flag() { g_bWow64 = m_saved; }
    ScopedWow64Flag(const ScopedWow64Flag&) = delete;
    ScopedWow64Flag& operator=(const ScopedWow64Flag&) = delete;

private:
    bool m_saved;
};
