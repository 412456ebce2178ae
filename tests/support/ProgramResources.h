#pragma once
// The built program's resources (its dialog templates) for the dialogs that
// tests run: a test executable has no templates of its own.

#include "platform/Handles.h"

#include <windows.h>

class ProgramResources {
public:
    ProgramResources();
    ~ProgramResources();
    ProgramResources(const ProgramResources&) = delete;
    ProgramResources& operator=(const ProgramResources&) = delete;

    bool Loaded() const { return m_module.Valid(); }

private:
    ModuleHandle m_module;
};
