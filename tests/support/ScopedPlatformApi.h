#pragma once
// Gives the program other platform answers for one scope, then puts the real
// ones back.

#include "platform/PlatformApi.h"

class ScopedPlatformApi {
public:
    ScopedPlatformApi() : m_saved(g_platformApi) {}
    ~ScopedPlatformApi() { g_platformApi = m_saved; }
    ScopedPlatformApi(const ScopedPlatformApi&) = delete;
    ScopedPlatformApi& operator=(const ScopedPlatformApi&) = delete;

private:
    PlatformApi m_saved;
};
