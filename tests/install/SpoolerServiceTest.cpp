#include "install/SpoolerService.h"

#include "platform/Handles.h"

#include "support/ScopedPlatformApi.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The program's waits, recorded. Tests on the real service let them pass for
// real as well, since Wine's service needs the time.
std::vector<DWORD> g_waits;
bool g_waitForReal = false;

void WINAPI RecordWait(DWORD milliseconds)
{
    g_waits.push_back(milliseconds);
    if (g_waitForReal)
        ::Sleep(milliseconds);
}

// The Spooler asked directly, past the program's seams.
DWORD RealSpoolerState()
{
    ServiceHandle manager(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    ServiceHandle spooler(manager ? ::OpenServiceA(manager.Get(), "Spooler", SERVICE_QUERY_STATUS) : nullptr);
    SERVICE_STATUS status = {};
    if (!spooler || !::QueryServiceStatus(spooler.Get(), &status))
        return 0;
    return status.dwCurrentState;
}

bool AwaitRealState(DWORD state)
{
    for (int i = 0; i < 100; ++i) {
        if (RealSpoolerState() == state)
            return true;
        ::Sleep(50);
    }
    return false;
}

void ControlRealSpooler(bool run)
{
    ServiceHandle manager(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    ServiceHandle spooler(
        manager ? ::OpenServiceA(manager.Get(), "Spooler", SERVICE_START | SERVICE_STOP) : nullptr);
    ASSERT_TRUE(spooler) << ::GetLastError();
    if (run) {
        ::StartServiceA(spooler.Get(), 0, nullptr);
        ASSERT_TRUE(AwaitRealState(SERVICE_RUNNING));
    } else {
        SERVICE_STATUS status = {};
        ::ControlService(spooler.Get(), SERVICE_CONTROL_STOP, &status);
        ASSERT_TRUE(AwaitRealState(SERVICE_STOPPED));
    }
}

// What the fake service manager answers.
struct FakeManager {
    bool managerOpens = true;
    bool serviceOpens = true;
    std::vector<DWORD> states;   // one per query; past the end, the last one
    bool queryFails = false;
    DWORD startError = ERROR_SUCCESS;
    DWORD stopError = ERROR_SUCCESS;
};

FakeManager g_fake;
std::vector<DWORD> g_serviceAccess;
int g_queries = 0;
int g_starts = 0;
std::vector<DWORD> g_controls;

SC_HANDLE WINAPI FakeOpenSCManager(LPCSTR machine, LPCSTR database, DWORD access)
{
    if (!g_fake.managerOpens) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    return ::OpenSCManagerA(machine, database, access);
}

SC_HANDLE WINAPI FakeOpenService(SC_HANDLE manager, LPCSTR name, DWORD access)
{
    g_serviceAccess.push_back(access);
    if (!g_fake.serviceOpens) {
        ::SetLastError(ERROR_SERVICE_DOES_NOT_EXIST);
        return nullptr;
    }
    // A real handle, so that closing it is real too.
    return ::OpenServiceA(manager, name, SERVICE_QUERY_STATUS);
}

BOOL WINAPI FakeQueryServiceStatus(SC_HANDLE, LPSERVICE_STATUS status)
{
    ++g_queries;
    if (g_fake.queryFails) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    size_t index = static_cast<size_t>(g_queries - 1);
    if (index >= g_fake.states.size())
        index = g_fake.states.size() - 1;
    status->dwCurrentState = g_fake.states[index];
    return TRUE;
}

BOOL WINAPI FakeStartService(SC_HANDLE, DWORD, LPCSTR*)
{
    ++g_starts;
    if (g_fake.startError != ERROR_SUCCESS) {
        ::SetLastError(g_fake.startError);
        return FALSE;
    }
    return TRUE;
}

BOOL WINAPI FakeControlService(SC_HANDLE, DWORD control, LPSERVICE_STATUS)
{
    g_controls.push_back(control);
    if (g_fake.stopError != ERROR_SUCCESS) {
        ::SetLastError(g_fake.stopError);
        return FALSE;
    }
    return TRUE;
}

DWORD Sum(const std::vector<DWORD>& waits)
{
    DWORD total = 0;
    for (DWORD w : waits)
        total += w;
    return total;
}

class SpoolerServiceTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_savedServiceApi = g_serviceApi;
        g_platformApi.sleep = RecordWait;
        g_waits.clear();
        g_waitForReal = false;
        g_fake = FakeManager();
        g_serviceAccess.clear();
        g_queries = 0;
        g_starts = 0;
        g_controls.clear();
    }

    void TearDown() override
    {
        g_serviceApi = m_savedServiceApi;
        // The other tests need a running spooler.
        ControlRealSpooler(true);
    }

    void UseFakeManager()
    {
        g_serviceApi = {FakeOpenSCManager, FakeOpenService, FakeQueryServiceStatus, FakeStartService,
                        FakeControlService};
    }

    ScopedPlatformApi m_api;
    ServiceApi m_savedServiceApi;
};

} // namespace

TEST_F(SpoolerServiceTest, StopsTheRealSpooler)
{
    g_waitForReal = true;
    ControlRealSpooler(true);

    StopSpooler();
    EXPECT_EQ(g_waits, std::vector<DWORD>{100});
    EXPECT_TRUE(AwaitRealState(SERVICE_STOPPED)) << RealSpoolerState();

    // Already stopped: the refusal (1062) is not a failure; the wait stays.
    StopSpooler();
    EXPECT_EQ(g_waits, (std::vector<DWORD>{100, 100}));
    EXPECT_EQ(RealSpoolerState(), static_cast<DWORD>(SERVICE_STOPPED));
}

TEST_F(SpoolerServiceTest, StartsTheRealSpoolerAndSeesItRunning)
{
    g_waitForReal = true;
    ControlRealSpooler(false);

    std::string result;
    StartSpooler(result);
    EXPECT_EQ(result, "");
    EXPECT_EQ(WaitSpoolerRunning(result), static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_EQ(result, "");
    // Wine's start request returns once the service runs: no poll waits.
    EXPECT_TRUE(g_waits.empty());
    EXPECT_EQ(RealSpoolerState(), static_cast<DWORD>(SERVICE_RUNNING));

    // Already running (1056): nothing to report.
    result = "earlier text";
    StartSpooler(result);
    EXPECT_EQ(result, "earlier text");
}

TEST_F(SpoolerServiceTest, ARunningSpoolerIsSeenAtTheFirstPoll)
{
    ControlRealSpooler(true);
    std::string result = "earlier text";
    EXPECT_EQ(WaitSpoolerRunning(result), static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_TRUE(g_waits.empty());
    EXPECT_EQ(result, "earlier text");
}

TEST_F(SpoolerServiceTest, WaitGivesUpAfterTenPolls)
{
    UseFakeManager();
    const DWORD states[] = {SERVICE_START_PENDING, SERVICE_STOPPED, SERVICE_STOP_PENDING, SERVICE_PAUSED};
    for (DWORD state : states) {
        g_fake.states = {state};
        g_waits.clear();
        g_queries = 0;
        std::string result = "earlier text";
        EXPECT_EQ(WaitSpoolerRunning(result), state);
        EXPECT_EQ(result, "StartSpoolService error") << state;
        EXPECT_EQ(g_queries, 10) << state;
        EXPECT_EQ(g_waits, std::vector<DWORD>(10, 300)) << state;
        EXPECT_EQ(Sum(g_waits), 3000u) << state;
    }
}

TEST_F(SpoolerServiceTest, WaitStopsPollingOnceRunning)
{
    UseFakeManager();
    g_fake.states = {SERVICE_START_PENDING, SERVICE_START_PENDING, SERVICE_RUNNING};
    std::string result = "earlier text";
    EXPECT_EQ(WaitSpoolerRunning(result), static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_EQ(g_queries, 3);
    EXPECT_EQ(g_waits, (std::vector<DWORD>{300, 300}));
    EXPECT_EQ(result, "earlier text");
    EXPECT_EQ(g_serviceAccess, std::vector<DWORD>{SERVICE_QUERY_STATUS});
}

TEST_F(SpoolerServiceTest, AFailedQueryKeepsTheLastStateSeen)
{
    UseFakeManager();
    g_fake.queryFails = true;
    std::string result;
    EXPECT_EQ(WaitSpoolerRunning(result), static_cast<DWORD>(SERVICE_STOPPED));
    EXPECT_EQ(result, "StartSpoolService error");
    EXPECT_EQ(g_waits.size(), 10u);
}

TEST_F(SpoolerServiceTest, NothingToAskWhenTheManagerOrTheServiceDoesNotOpen)
{
    UseFakeManager();
    const struct Case {
        const char* what;
        bool managerOpens;
        std::vector<DWORD> stopWaits;
    } cases[] = {
        {"manager", false, {}},
        // The stop's grace time is kept even without the service.
        {"service", true, {100}},
    };
    for (const Case& c : cases) {
        g_fake.managerOpens = c.managerOpens;
        g_fake.serviceOpens = false;

        g_waits.clear();
        StopSpooler();
        EXPECT_EQ(g_waits, c.stopWaits) << c.what;

        std::string result = "earlier text";
        StartSpooler(result);
        EXPECT_EQ(result, "earlier text") << c.what;

        g_waits.clear();
        EXPECT_EQ(WaitSpoolerRunning(result), static_cast<DWORD>(SERVICE_STOPPED)) << c.what;
        EXPECT_EQ(result, "StartSpoolService error") << c.what;
        EXPECT_TRUE(g_waits.empty()) << c.what;
    }
    EXPECT_EQ(g_queries, 0);
    EXPECT_EQ(g_starts, 0);
    EXPECT_TRUE(g_controls.empty());
}

TEST_F(SpoolerServiceTest, StartRefusalsAreReportedWithTheirCode)
{
    UseFakeManager();
    const struct Case {
        DWORD error;
        const char* result;
    } cases[] = {
        {ERROR_SERVICE_DISABLED, "Start spool service error, error code = 1058"},
        {ERROR_ACCESS_DENIED, "Start spool service error, error code = 5"},
        {ERROR_SERVICE_ALREADY_RUNNING, "earlier text"},
        {ERROR_SUCCESS, "earlier text"},
    };
    for (const Case& c : cases) {
        g_fake.startError = c.error;
        g_serviceAccess.clear();
        std::string result = "earlier text";
        StartSpooler(result);
        EXPECT_EQ(result, c.result) << c.error;
        EXPECT_EQ(g_serviceAccess, std::vector<DWORD>{SERVICE_START}) << c.error;
    }
}

TEST_F(SpoolerServiceTest, AStopRefusalIsNotReported)
{
    UseFakeManager();
    g_fake.stopError = ERROR_DEPENDENT_SERVICES_RUNNING;
    StopSpooler();
    EXPECT_EQ(g_controls, std::vector<DWORD>{SERVICE_CONTROL_STOP});
    EXPECT_EQ(g_serviceAccess, std::vector<DWORD>{SERVICE_STOP});
    EXPECT_EQ(g_waits, std::vector<DWORD>{100});
}
