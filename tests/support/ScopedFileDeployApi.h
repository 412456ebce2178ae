#pragma once
// Gives file deployment other system folders for one scope, then puts the
// real ones back.

#include "install/FileDeployApi.h"

class ScopedFileDeployApi {
public:
    ScopedFileDeployApi() : m_saved(g_fileDeployApi) {}
    ~ScopedFileDeployApi() { g_fileDeployApi = m_saved; }
    ScopedFileDeployApi(const ScopedFileDeployApi&) = delete;
    ScopedFileDeployApi& operator=(const ScopedFileDeployApi&) = delete;

private:
    FileDeployApi m_saved;
};
