#include "install/SpoolerService.h"

#include "platform/Handles.h"
#include "platform/PlatformApi.h"

#include <cstdio>

namespace {

const char kSpoolerName[] = "Spooler";
const int kRunningPolls = 10;
const DWORD kPollIntervalMs = 300;
const DWORD kStopGraceMs = 100;

SC_HANDLE WINAPI RealOpenSCManager(LPCSTR machine, LPCSTR database, DWORD access)
{
    return ::OpenSCManagerA(machine, database, access);
}

SC_HANDLE WINAPI RealOpenService(SC_HANDLE manager, LPCSTR name, DWORD access)
{
    return ::OpenServiceA(manager, name, access);
}

BOOL WINAPI RealQueryServiceStatus(SC_HANDLE service, LPSERVICE_STATUS status)
{
    return ::QueryServiceStatus(service, status);
}

BOOL WINAPI RealStartService(SC_HANDLE service, DWORD argc, LPCSTR* argv)
{
    return ::StartServiceA(service, argc, argv);
}

BOOL WINAPI RealControlService(SC_HANDLE service, DWORD control, LPSERVICE_STATUS status)
{
    return ::ControlService(service, control, status);
}

ServiceHandle OpenLocalManager()
{
    return ServiceHandle(g_serviceApi.openSCManager(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
}

} // namespace

ServiceApi g_serviceApi = {
    RealOpenSCManager,
    RealOpenService,
    RealQueryServiceStatus,
    RealStartService,
    RealControlService,
};

void StopSpooler()
{
    ServiceHandle manager = OpenLocalManager();
    if (!manager)
        return;
    ServiceHandle spooler(g_serviceApi.openService(manager.Get(), kSpoolerName, SERVICE_STOP));
    if (spooler) {
        SERVICE_STATUS status = {};
        g_serviceApi.controlService(spooler.Get(), SERVICE_CONTROL_STOP, &status);
        spooler.Reset();
    }
    // The spooler needs a moment to let go of its DLLs.
    g_platformApi.sleep(kStopGraceMs);
}

void StartSpooler(std::string& result)
{
    ServiceHandle manager = OpenLocalManager();
    if (!manager)
        return;
    ServiceHandle spooler(g_serviceApi.openService(manager.Get(), kSpoolerName, SERVICE_START));
    if (!spooler)
        return;
    if (!g_serviceApi.startService(spooler.Get(), 0, nullptr)) {
        DWORD error = ::GetLastError();
        if (error != ERROR_SERVICE_ALREADY_RUNNING) {
            char text[80];
            std::snprintf(text, sizeof(text), "Start spool service error, error code = %lu",
                          static_cast<unsigned long>(error));
            result = text;
        }
    }
}

DWORD WaitSpoolerRunning(std::string& result)
{
    DWORD state = SERVICE_STOPPED;
    ServiceHandle manager = OpenLocalManager();
    ServiceHandle spooler;
    if (manager)
        spooler.Reset(g_serviceApi.openService(manager.Get(), kSpoolerName, SERVICE_QUERY_STATUS));
    if (spooler) {
        for (int poll = 0; poll < kRunningPolls; ++poll) {
            SERVICE_STATUS status = {};
            // A failed query tells nothing new: the last state stands.
            if (g_serviceApi.queryServiceStatus(spooler.Get(), &status))
                state = status.dwCurrentState;
            if (state == SERVICE_RUNNING)
                break;
            g_platformApi.sleep(kPollIntervalMs);
        }
    }
    if (state != SERVICE_RUNNING)
        result = "StartSpoolService error";
    return state;
}
