#include "support/ProgramResources.h"

#include "afx/AfxWin.h"
#include "support/SetupFolder.h"

#include <string>

ProgramResources::ProgramResources()
{
    const std::string program = BuildFolder() + "DriverSetup.exe";
    m_module.Reset(::LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (m_module)
        AfxSetResourceHandle(m_module.Get());
}

ProgramResources::~ProgramResources()
{
    AfxSetResourceHandle(nullptr);
}
