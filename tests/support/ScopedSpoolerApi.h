#pragma once
// Gives the registration operations another spooler for one scope, then puts
// the real one back.

#include "install/SpoolerApi.h"

class ScopedSpoolerApi {
public:
    ScopedSpoolerApi() : m_saved(g_spoolerApi) {}
    ~ScopedSpoolerApi() { g_spoolerApi = m_saved; }
    ScopedSpoolerApi(const ScopedSpoolerApi&) = delete;
    ScopedSpoolerApi& operator=(const ScopedSpoolerApi&) = delete;

private:
    SpoolerApi m_saved;
};
