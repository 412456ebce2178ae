#include "support/CountedServiceCalls.h"

#include "platform/Handles.h"

#include <atomic>

namespace {

std::atomic<int> g_starts{0};
std::atomic<int> g_stops{0};

BOOL WINAPI CountedStart(SC_HANDLE service, DWORD argc, LPCSTR* argv)
{
    ++g_starts;
    return ::StartServiceA(service, argc, argv);
}

BOOL WINAPI CountedControl(SC_HANDLE service, DWORD control, LPSERVICE_STATUS status)
{
    if (control == SERVICE_CONTROL_STOP)
        ++g_stops;
    return ::ControlService(service, control, status);
}

} // namespace

CountedServiceCalls::CountedServiceCalls() : m_saved(g_serviceApi)
{
    g_starts = 0;
    g_stops = 0;
    g_serviceApi.startService = CountedStart;
    g_serviceApi.controlService = CountedControl;
}

CountedServiceCalls::~CountedServiceCalls()
{
    g_serviceApi = m_saved;
}

int CountedServiceCalls::Starts() const
{
    return g_starts;
}

int CountedServiceCalls::Stops() const
{
    return g_stops;
}

DWORD SpoolerState()
{
    ServiceHandle manager(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    ServiceHandle spooler(manager ? ::OpenServiceA(manager.Get(), "Spooler", SERVICE_QUERY_STATUS) : nullptr);
    SERVICE_STATUS status = {};
    if (!spooler || !::QueryServiceStatus(spooler.Get(), &status))
        return 0;
    return status.dwCurrentState;
}

bool EnsureSpoolerRunning()
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const DWORD state = SpoolerState();
        if (state == SERVICE_RUNNING)
            return true;
        if (state == SERVICE_STOPPED) {
            ServiceHandle manager(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
            ServiceHandle spooler(manager ? ::OpenServiceA(manager.Get(), "Spooler", SERVICE_START) : nullptr);
            if (spooler)
                ::StartServiceA(spooler.Get(), 0, nullptr);
        }
        ::Sleep(50);
    }
    return false;
}
