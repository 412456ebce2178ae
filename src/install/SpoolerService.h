#pragma once
// Control of the Windows "Spooler" service: stopped while a monitor or print
// processor DLL that it holds is replaced, then started and awaited.

#include <windows.h>

#include <string>

// The service manager calls, which tests replace (Wine's Spooler always starts
// at once, so a service that never runs can only be told). Defaults to the
// real functions; handles are closed with the real CloseServiceHandle, so a
// replacement hands out real handles or none.
struct ServiceApi {
    SC_HANDLE(WINAPI* openSCManager)(LPCSTR machine, LPCSTR database, DWORD access);
    SC_HANDLE(WINAPI* openService)(SC_HANDLE manager, LPCSTR name, DWORD access);
    BOOL(WINAPI* queryServiceStatus)(SC_HANDLE service, LPSERVICE_STATUS status);
    BOOL(WINAPI* startService)(SC_HANDLE service, DWORD argc, LPCSTR* argv);
    BOOL(WINAPI* controlService)(SC_HANDLE service, DWORD control, LPSERVICE_STATUS status);
};

extern ServiceApi g_serviceApi;

// Asks the Spooler to stop and gives it 100 ms. A refusal is not reported: the
// usual one is that it was not running (1062).
void StopSpooler();

// Asks the Spooler to start. A refusal other than "already running" (1056)
// replaces result with "Start spool service error, error code = <code>". A
// service manager or service that does not open leaves result alone.
void StartSpooler(std::string& result);

// Polls the Spooler's state up to ten times, 300 ms apart, until it runs.
// Returns the last state seen (SERVICE_RUNNING and so on; SERVICE_STOPPED when
// nothing could be asked). Any state but running replaces result with
// "StartSpoolService error".
DWORD WaitSpoolerRunning(std::string& result);
