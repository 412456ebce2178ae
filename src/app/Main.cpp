#include "app/SetupApp.h"

#include <windows.h>

// The one application object of the program.
CSetupApp theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return AfxWinMain(instance);
}
