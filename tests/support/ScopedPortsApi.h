#pragma once
// Gives the USB operations another program starter for one scope, then puts
// the real one back.

#include "ports/PortsApi.h"

class ScopedPortsApi {
public:
    ScopedPortsApi() : m_saved(g_portsApi) {}
    ~ScopedPortsApi() { g_portsApi = m_saved; }
    ScopedPortsApi(const ScopedPortsApi&) = delete;
    ScopedPortsApi& operator=(const ScopedPortsApi&) = delete;

private:
    PortsApi m_saved;
};
