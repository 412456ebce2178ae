// Registration with the spooler: the rules the program adds to the spooler's
// answers (the numbering of queue names, the texts of failures, the ways of
// setting the default printer) with answers told through g_spoolerApi, and
// the registrations themselves against Wine's spooler.

#include "install/SpoolerRegistration.h"

#include "install/SpoolerApi.h"
#include "platform/Handles.h"
#include "platform/PlatformApi.h"
#include "platform/SystemMessage.h"
#include "support/ScopedPlatformApi.h"
#include "support/ScopedSpoolerApi.h"
#include "support/SetupFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

const std::vector<std::pair<std::string, std::string>> kTexts = {
    {"Message", "IDS_ERR_TOOMANY"},    {"Message", "IDS_ERR_ADDPRINTER"},
    {"Message", "IDS_ERR_ADDPRNDRV3"}, {"Message", "IDS_ERR_ADDMONITOR"},
    {"Message", "IDS_ERR_ALLOCMEMORY"},
};

// The texts of the language file that SetupFolder::Language writes.
std::string Text(const char* key)
{
    return std::string("Message/") + key;
}

// A system that describes every error as "description of <code>".
DWORD WINAPI DescribeEveryError(DWORD, LPCVOID, DWORD code, DWORD, LPSTR buffer, DWORD, va_list*)
{
    const std::string text = "description of " + std::to_string(code);
    auto* block = static_cast<char*>(::LocalAlloc(LMEM_FIXED, text.size() + 1));
    std::memcpy(block, text.c_str(), text.size() + 1);
    *reinterpret_cast<char**>(buffer) = block;
    return static_cast<DWORD>(text.size());
}

DWORD WINAPI DescribeNoError(DWORD, LPCVOID, DWORD, DWORD, LPSTR, DWORD, va_list*)
{
    ::SetLastError(ERROR_MR_MID_NOT_FOUND);
    return 0;
}

// ---------------------------------------------------------------------------
// A spooler whose answers the test sets.

struct Broadcast {
    HWND window;
    UINT message;
    std::string section; // empty for a null parameter
};

struct FakeSpooler {
    // Queues: names in use, and names refused with another error.
    std::set<std::string> queues;
    std::map<std::string, DWORD> refusals;
    std::vector<std::string> attempts;

    // Other registrations: 0 for success, else the error.
    DWORD driverError = 0;
    DWORD monitorError = 0;
    DWORD processorError = 0;
    std::vector<std::pair<std::string, std::string>> processorCalls; // environment, path|name

    // Port enumeration: the size the spooler needs and the outcome of each
    // enumeration into a buffer.
    DWORD portsNeeded = 0;
    std::deque<DWORD> fillErrors;
    std::vector<DWORD> portBufferSizes;

    // The queue as OpenPrinterA/GetPrinterA/SetPrinterA see it.
    bool openFails = false;
    bool sizeQuerySucceeds = false;
    DWORD sizeQueryError = ERROR_INSUFFICIENT_BUFFER;
    DWORD sizeNeeded = 512;
    bool readFails = false;
    bool writeFails = false;
    char driverName[32] = "QMT-K410 (Parallel)";
    char portName[32] = "LPT1:";
    DWORD attributes = PRINTER_ATTRIBUTE_LOCAL;
    std::vector<DWORD> writtenAttributes;
    std::vector<std::pair<DWORD, DWORD>> writeLevelAndCommand;

    std::vector<std::string> profileWrites; // section/key=value
    bool profileWriteFails = false;
    std::vector<Broadcast> broadcasts;

    // SetDefaultPrinterA: whether winspool.drv has it and its answer.
    bool hasSetDefault = true;
    BOOL setDefaultAnswer = TRUE;
    std::vector<std::string> defaults;

    int handlesOpened = 0;
    int handlesClosed = 0;
};

FakeSpooler* g_fake = nullptr;

HANDLE NewHandle()
{
    ++g_fake->handlesOpened;
    return reinterpret_cast<HANDLE>(static_cast<INT_PTR>(0x5000 + g_fake->handlesOpened));
}

HANDLE WINAPI FakeAddPrinter(LPSTR, DWORD, LPBYTE record)
{
    const std::string name = reinterpret_cast<PRINTER_INFO_2A*>(record)->pPrinterName;
    g_fake->attempts.push_back(name);
    auto refusal = g_fake->refusals.find(name);
    if (refusal != g_fake->refusals.end()) {
        ::SetLastError(refusal->second);
        return nullptr;
    }
    if (!g_fake->queues.insert(name).second) {
        ::SetLastError(ERROR_PRINTER_ALREADY_EXISTS);
        return nullptr;
    }
    return NewHandle();
}

BOOL Answer(DWORD error)
{
    ::SetLastError(error);
    return error == 0;
}

BOOL WINAPI FakeAddPrinterDriver(LPSTR, DWORD, LPBYTE)
{
    return Answer(g_fake->driverError);
}

BOOL WINAPI FakeAddMonitor(LPSTR, DWORD, LPBYTE)
{
    return Answer(g_fake->monitorError);
}

BOOL WINAPI FakeAddPrintProcessor(LPSTR, LPSTR environment, LPSTR path, LPSTR name)
{
    g_fake->processorCalls.emplace_back(environment != nullptr ? environment : "(default)",
                                        std::string(path) + "|" + name);
    return Answer(g_fake->processorError);
}

BOOL WINAPI FakeEnumPorts(LPSTR, DWORD, LPBYTE, DWORD size, LPDWORD needed, LPDWORD returned)
{
    g_fake->portBufferSizes.push_back(size);
    *returned = 0;
    if (size == 0 || size < g_fake->portsNeeded) {
        *needed = g_fake->portsNeeded;
        return Answer(g_fake->portsNeeded > size ? ERROR_INSUFFICIENT_BUFFER : 0);
    }
    DWORD error = 0;
    if (!g_fake->fillErrors.empty()) {
        error = g_fake->fillErrors.front();
        g_fake->fillErrors.pop_front();
    }
    return Answer(error);
}

BOOL WINAPI FakeOpenPrinter(LPSTR, LPHANDLE printer, LPPRINTER_DEFAULTSA)
{
    if (g_fake->openFails) {
        *printer = nullptr;
        return Answer(ERROR_INVALID_PRINTER_NAME);
    }
    *printer = NewHandle();
    return TRUE;
}

BOOL WINAPI FakeGetPrinter(HANDLE, DWORD, LPBYTE info, DWORD size, LPDWORD needed)
{
    if (info == nullptr || size == 0) {
        *needed = g_fake->sizeNeeded;
        if (g_fake->sizeQuerySucceeds)
            return TRUE;
        return Answer(g_fake->sizeQueryError);
    }
    if (g_fake->readFails || size < sizeof(PRINTER_INFO_2A))
        return Answer(ERROR_INVALID_HANDLE);
    auto* record = reinterpret_cast<PRINTER_INFO_2A*>(info);
    record->pDriverName = g_fake->driverName;
    record->pPortName = g_fake->portName;
    record->Attributes = g_fake->attributes;
    return TRUE;
}

BOOL WINAPI FakeSetPrinter(HANDLE, DWORD level, LPBYTE info, DWORD command)
{
    g_fake->writeLevelAndCommand.emplace_back(level, command);
    g_fake->writtenAttributes.push_back(reinterpret_cast<PRINTER_INFO_2A*>(info)->Attributes);
    return Answer(g_fake->writeFails ? ERROR_ACCESS_DENIED : 0);
}

// The processor names no data types: queues get RAW.
BOOL WINAPI FakeEnumDatatypes(LPSTR, LPSTR, DWORD, LPBYTE, DWORD, LPDWORD needed, LPDWORD returned)
{
    *needed = 0;
    *returned = 0;
    return TRUE;
}

BOOL WINAPI FakeClosePrinter(HANDLE)
{
    ++g_fake->handlesClosed;
    return TRUE;
}

BOOL WINAPI FakeWriteProfileString(LPCSTR section, LPCSTR key, LPCSTR value)
{
    g_fake->profileWrites.push_back(std::string(section) + "/" + key + "=" + value);
    return Answer(g_fake->profileWriteFails ? ERROR_ACCESS_DENIED : 0);
}

LRESULT WINAPI FakeSendMessageTimeout(HWND window, UINT message, WPARAM, LPARAM lParam, UINT, UINT,
                                      PDWORD_PTR)
{
    g_fake->broadcasts.push_back(
        {window, message, lParam != 0 ? reinterpret_cast<const char*>(lParam) : ""});
    return 1;
}

BOOL WINAPI FakeSetDefaultPrinter(LPCSTR name)
{
    g_fake->defaults.emplace_back(name);
    return g_fake->setDefaultAnswer;
}

FARPROC WINAPI FakeGetProcAddress(HMODULE module, LPCSTR name)
{
    if (std::strcmp(name, "SetDefaultPrinterA") == 0)
        return g_fake->hasSetDefault ? reinterpret_cast<FARPROC>(reinterpret_cast<void*>(FakeSetDefaultPrinter)) : nullptr;
    return ::GetProcAddress(module, name);
}

// The running Windows version as the test tells it.
OSVERSIONINFOA g_version = {};
bool g_versionFails = false;

BOOL WINAPI FakeGetVersionEx(LPOSVERSIONINFOA info)
{
    if (g_versionFails)
        return FALSE;
    const DWORD size = info->dwOSVersionInfoSize;
    *info = g_version;
    info->dwOSVersionInfoSize = size;
    return TRUE;
}

void SetVersion(DWORD platform, DWORD major, DWORD minor)
{
    g_version = {};
    g_version.dwPlatformId = platform;
    g_version.dwMajorVersion = major;
    g_version.dwMinorVersion = minor;
    g_versionFails = false;
}

class SpoolerRules : public ::testing::Test {
protected:
    SpoolerRules()
    {
        folder.Language(kTexts);
        g_platformApi.formatMessage = DescribeEveryError;
        g_platformApi.getProcAddress = FakeGetProcAddress;
        g_platformApi.getVersionEx = FakeGetVersionEx;
        g_spoolerApi = {FakeAddPrinter,    FakeAddPrinterDriver,   FakeAddMonitor,
                        FakeAddPrintProcessor, FakeEnumPorts,      FakeOpenPrinter,
                        FakeGetPrinter,    FakeSetPrinter,         FakeClosePrinter,
                        FakeEnumDatatypes, FakeWriteProfileString, FakeSendMessageTimeout};
        g_fake = &fake;
        SetVersion(VER_PLATFORM_WIN32_NT, 6, 1);
    }
    ~SpoolerRules() override { g_fake = nullptr; }

    ScopedPlatformApi platformApi;
    ScopedSpoolerApi spoolerApi;
    SetupFolder folder;
    FakeSpooler fake;
};

PRINTER_INFO_2A PrinterRecord(char* name)
{
    PRINTER_INFO_2A record = {};
    record.pPrinterName = name;
    return record;
}

// ---------------------------------------------------------------------------
// Queue names

struct NumberingCase {
    const char* what;
    int namesInUse; // -1: none; 0: the requested name; n: it and (1) to (n)
    bool noRename;
    int expected;
    const char* expectedName;
    size_t expectedAttempts;
};

const NumberingCase kNumberingCases[] = {
    {"a free name", -1, false, 1, "QMT-K410", 1},
    {"a free name, no renaming", -1, true, 1, "QMT-K410", 1},
    {"the name in use", 0, false, 1, "QMT-K410(1)", 2},
    {"the name and (1) to (97) in use", 97, false, 1, "QMT-K410(98)", 99},
    {"the name and (1) to (98) in use", 98, false, 0, "", 99},
    {"the name in use, no renaming", 0, true, 0, "", 1},
};

TEST_F(SpoolerRules, AQueueNameInUseGetsTheFirstFreeNumber)
{
    for (const NumberingCase& c : kNumberingCases) {
        SCOPED_TRACE(c.what);
        fake = FakeSpooler();
        for (int n = 0; n <= c.namesInUse; ++n)
            fake.queues.insert(n == 0 ? "QMT-K410" : "QMT-K410(" + std::to_string(n) + ")");
        char requested[] = "QMT-K410";
        PRINTER_INFO_2A record = PrinterRecord(requested);
        std::string queueName;
        std::string result = "earlier text";

        EXPECT_EQ(AddPrinterUnique(record, 2, c.noRename, queueName, result), c.expected);

        EXPECT_EQ(queueName, c.expectedName);
        EXPECT_STREQ(record.pPrinterName, c.expectedName);
        EXPECT_EQ(fake.attempts.size(), c.expectedAttempts);
        EXPECT_EQ(result, c.expected == 1 ? "earlier text" : Text("IDS_ERR_TOOMANY"));
        // The handle of the new queue is closed again.
        EXPECT_EQ(fake.handlesOpened, c.expected);
        EXPECT_EQ(fake.handlesClosed, fake.handlesOpened);
    }
}

TEST_F(SpoolerRules, NumberedNamesFollowTheRequestedNameWithoutASpace)
{
    fake.queues = {"Ticket", "Ticket(1)", "Ticket(2)"};
    char requested[] = "Ticket";
    PRINTER_INFO_2A record = PrinterRecord(requested);
    std::string queueName;
    std::string result;

    ASSERT_EQ(AddPrinterUnique(record, 2, false, queueName, result), 1);

    const std::vector<std::string> expected = {"Ticket", "Ticket(1)", "Ticket(2)", "Ticket(3)"};
    EXPECT_EQ(fake.attempts, expected);
}

TEST_F(SpoolerRules, AnotherRefusalOfANumberedNameEndsTheNumbering)
{
    fake.queues = {"QMT-K410", "QMT-K410(1)", "QMT-K410(2)"};
    fake.refusals["QMT-K410(3)"] = ERROR_UNKNOWN_PRINTER_DRIVER;
    char requested[] = "QMT-K410";
    PRINTER_INFO_2A record = PrinterRecord(requested);
    std::string queueName;
    std::string result;

    EXPECT_EQ(AddPrinterUnique(record, 2, false, queueName, result), 0);

    EXPECT_EQ(fake.attempts.back(), "QMT-K410(3)");
    EXPECT_EQ(fake.attempts.size(), 4u);
    EXPECT_EQ(result, Text("IDS_ERR_ADDPRINTER") + "\ndescription of 1797");
    EXPECT_EQ(queueName, "");
    EXPECT_STREQ(record.pPrinterName, "");
}

// ---------------------------------------------------------------------------
// Failure texts

struct FailureCase {
    const char* what;
    const char* key;
    std::function<int(FakeSpooler&, std::string&)> fail; // makes the spooler refuse, runs the operation
};

const FailureCase kFailureCases[] = {
    {"queue", "IDS_ERR_ADDPRINTER",
     [](FakeSpooler& fake, std::string& result) {
         fake.refusals["QMT-K410"] = ERROR_UNKNOWN_PRINTER_DRIVER;
         char name[] = "QMT-K410";
         PRINTER_INFO_2A record = PrinterRecord(name);
         std::string queueName;
         return AddPrinterUnique(record, 2, false, queueName, result);
     }},
    {"driver", "IDS_ERR_ADDPRNDRV3",
     [](FakeSpooler& fake, std::string& result) {
         fake.driverError = ERROR_UNKNOWN_PRINTER_DRIVER;
         DRIVER_INFO_3A driver = {};
         return InstallPrinterDriver(driver, result);
     }},
    {"monitor", "IDS_ERR_ADDMONITOR",
     [](FakeSpooler& fake, std::string& result) {
         fake.monitorError = ERROR_UNKNOWN_PRINTER_DRIVER;
         MONITOR_INFO_2A monitor = {};
         return InstallMonitor(monitor, result);
     }},
    {"port enumeration", "IDS_ERR_ALLOCMEMORY",
     [](FakeSpooler& fake, std::string& result) {
         fake.fillErrors = {ERROR_UNKNOWN_PRINTER_DRIVER, ERROR_UNKNOWN_PRINTER_DRIVER};
         return CheckPortEnumeration(result);
     }},
};

TEST_F(SpoolerRules, AFailureTextIsTheLanguageTextAndTheSystemsDescription)
{
    for (const FailureCase& c : kFailureCases) {
        SCOPED_TRACE(c.what);
        fake = FakeSpooler();
        std::string result = "earlier text";

        EXPECT_EQ(c.fail(fake, result), 0);
        EXPECT_EQ(result, Text(c.key) + "\ndescription of 1797");
    }
}

// Without a description the language text still tells that something failed.
TEST_F(SpoolerRules, AFailureTheSystemCannotDescribeLeavesTheLanguageTextAlone)
{
    g_platformApi.formatMessage = DescribeNoError;
    for (const FailureCase& c : kFailureCases) {
        SCOPED_TRACE(c.what);
        fake = FakeSpooler();
        std::string result = "earlier text";

        EXPECT_EQ(c.fail(fake, result), 0);
        EXPECT_EQ(result, Text(c.key));
    }
}

// ---------------------------------------------------------------------------
// Monitors and print processors

TEST_F(SpoolerRules, AMonitorAlreadyInstalledCountsAsInstalled)
{
    const struct {
        DWORD error;
        int expected;
    } cases[] = {
        {0, 1},
        {ERROR_PRINT_MONITOR_ALREADY_INSTALLED, 1},
        {ERROR_ALREADY_EXISTS, 1},
        {ERROR_MOD_NOT_FOUND, 0},
        {ERROR_PROC_NOT_FOUND, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error);
        fake.monitorError = c.error;
        MONITOR_INFO_2A monitor = {};
        std::string result = "earlier text";

        EXPECT_EQ(InstallMonitor(monitor, result), c.expected);
        if (c.expected == 1)
            EXPECT_EQ(result, "earlier text");
        else
            EXPECT_EQ(result, Text("IDS_ERR_ADDMONITOR") + "\ndescription of " + std::to_string(c.error));
    }
}

TEST_F(SpoolerRules, APrintProcessorRefusalIsReportedByItsCodeOrZero)
{
    const struct {
        DWORD error;
        int expected;
    } cases[] = {
        {0, 1},
        {ERROR_INVALID_PARAMETER, 87},
        {ERROR_ALREADY_EXISTS, 183},
        {ERROR_PRINT_PROCESSOR_ALREADY_INSTALLED, 3005},
        {ERROR_ACCESS_DENIED, 0},
        {ERROR_INVALID_ENVIRONMENT, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error);
        fake.processorError = c.error;
        std::string result = "earlier text";

        EXPECT_EQ(InstallPrintProcessor("TVPrintProc", "TVPPROC.DLL", 3, result), c.expected);
        EXPECT_EQ(result, "earlier text");
    }
}

TEST_F(SpoolerRules, APrintProcessorForWindows98GoesToItsEnvironment)
{
    std::string result;
    for (int targetOs = 0; targetOs <= 7; ++targetOs)
        InstallPrintProcessor("TVPrintProc", "TVPPROC.DLL", targetOs, result);

    ASSERT_EQ(fake.processorCalls.size(), 8u);
    for (int targetOs = 0; targetOs <= 7; ++targetOs) {
        SCOPED_TRACE(targetOs);
        EXPECT_EQ(fake.processorCalls[targetOs].first, targetOs == 0 ? "Windows 4.0" : "(default)");
        EXPECT_EQ(fake.processorCalls[targetOs].second, "TVPPROC.DLL|TVPrintProc");
    }
}

// ---------------------------------------------------------------------------
// Default printer

TEST_F(SpoolerRules, Windows2000AndLaterSetTheDefaultPrinterThroughTheSpooler)
{
    for (DWORD major : {5u, 6u}) {
        SCOPED_TRACE(major);
        fake = FakeSpooler();
        SetVersion(VER_PLATFORM_WIN32_NT, major, 0);

        EXPECT_EQ(MakeDefaultPrinter("QMT-K410(2)"), 1);

        EXPECT_EQ(fake.defaults, std::vector<std::string>{"QMT-K410(2)"});
        ASSERT_EQ(fake.broadcasts.size(), 1u);
        EXPECT_EQ(fake.broadcasts[0].window, HWND_BROADCAST);
        EXPECT_EQ(fake.broadcasts[0].message, static_cast<UINT>(WM_WININICHANGE));
        EXPECT_EQ(fake.broadcasts[0].section, "");
        EXPECT_TRUE(fake.profileWrites.empty());
    }
}

TEST_F(SpoolerRules, WindowsNt4KeepsTheDefaultPrinterInWinIni)
{
    SetVersion(VER_PLATFORM_WIN32_NT, 4, 0);

    EXPECT_EQ(MakeDefaultPrinter("QMT-K410"), 1);

    EXPECT_EQ(fake.profileWrites,
              std::vector<std::string>{"windows/device=QMT-K410,QMT-K410 (Parallel),LPT1:"});
    ASSERT_EQ(fake.broadcasts.size(), 1u);
    EXPECT_EQ(fake.broadcasts[0].section, "");
    EXPECT_TRUE(fake.defaults.empty());
    EXPECT_EQ(fake.handlesClosed, fake.handlesOpened);
}

TEST_F(SpoolerRules, Windows98MarksTheQueueAsDefault)
{
    SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10);

    EXPECT_EQ(MakeDefaultPrinter("QMT-K410"), 1);

    EXPECT_EQ(fake.writtenAttributes,
              std::vector<DWORD>{PRINTER_ATTRIBUTE_LOCAL | PRINTER_ATTRIBUTE_DEFAULT});
    EXPECT_EQ(fake.writeLevelAndCommand, (std::vector<std::pair<DWORD, DWORD>>{{2, 0}}));
    ASSERT_EQ(fake.broadcasts.size(), 1u);
    EXPECT_EQ(fake.broadcasts[0].section, "windows");
    EXPECT_EQ(fake.handlesClosed, fake.handlesOpened);
}

TEST_F(SpoolerRules, AnUnknownPlatformHasNoDefaultPrinterToSet)
{
    SetVersion(VER_PLATFORM_WIN32s, 3, 10);

    EXPECT_EQ(MakeDefaultPrinter("QMT-K410"), 1);

    EXPECT_EQ(fake.handlesOpened, 0);
    EXPECT_TRUE(fake.defaults.empty());
    EXPECT_TRUE(fake.broadcasts.empty());
}

struct DefaultFailureCase {
    const char* what;
    DWORD platform;
    DWORD major;
    std::function<void(FakeSpooler&)> arrange;
};

const DefaultFailureCase kDefaultFailures[] = {
    {"98: queue does not open", VER_PLATFORM_WIN32_WINDOWS, 4, [](FakeSpooler& f) { f.openFails = true; }},
    {"98: size query succeeds", VER_PLATFORM_WIN32_WINDOWS, 4, [](FakeSpooler& f) { f.sizeQuerySucceeds = true; }},
    {"98: size query fails otherwise", VER_PLATFORM_WIN32_WINDOWS, 4,
     [](FakeSpooler& f) { f.sizeQueryError = ERROR_ACCESS_DENIED; }},
    {"98: size of nothing", VER_PLATFORM_WIN32_WINDOWS, 4, [](FakeSpooler& f) { f.sizeNeeded = 0; }},
    {"98: read fails", VER_PLATFORM_WIN32_WINDOWS, 4, [](FakeSpooler& f) { f.readFails = true; }},
    {"98: write fails", VER_PLATFORM_WIN32_WINDOWS, 4, [](FakeSpooler& f) { f.writeFails = true; }},
    {"NT 4.0: queue does not open", VER_PLATFORM_WIN32_NT, 4, [](FakeSpooler& f) { f.openFails = true; }},
    {"NT 4.0: read fails", VER_PLATFORM_WIN32_NT, 4, [](FakeSpooler& f) { f.readFails = true; }},
    {"NT 4.0: no driver name", VER_PLATFORM_WIN32_NT, 4, [](FakeSpooler& f) { f.driverName[0] = '\0'; }},
    {"NT 4.0: no port name", VER_PLATFORM_WIN32_NT, 4, [](FakeSpooler& f) { f.portName[0] = '\0'; }},
    {"NT 4.0: win.ini not written", VER_PLATFORM_WIN32_NT, 4, [](FakeSpooler& f) { f.profileWriteFails = true; }},
    {"NT 5: no SetDefaultPrinterA", VER_PLATFORM_WIN32_NT, 5, [](FakeSpooler& f) { f.hasSetDefault = false; }},
    {"NT 5: SetDefaultPrinterA refuses", VER_PLATFORM_WIN32_NT, 5,
     [](FakeSpooler& f) { f.setDefaultAnswer = FALSE; }},
};

TEST_F(SpoolerRules, AFailedStepLeavesTheDefaultPrinterAloneAndReleasesTheQueue)
{
    for (const DefaultFailureCase& c : kDefaultFailures) {
        SCOPED_TRACE(c.what);
        fake = FakeSpooler();
        SetVersion(c.platform, c.major, 0);
        c.arrange(fake);

        EXPECT_EQ(MakeDefaultPrinter("QMT-K410"), 0);

        EXPECT_TRUE(fake.broadcasts.empty());
        EXPECT_EQ(fake.handlesClosed, fake.handlesOpened);
    }
    g_versionFails = true;
    EXPECT_EQ(MakeDefaultPrinter("QMT-K410"), 0);
}

// ---------------------------------------------------------------------------
// Port enumeration

TEST_F(SpoolerRules, APortEnumerationTakesAtLeastAThousandBytes)
{
    const struct {
        DWORD needed;
        DWORD expectedBuffer;
    } cases[] = {{0, 1000}, {200, 1000}, {299, 1000}, {300, 300}, {5000, 5000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.needed);
        fake = FakeSpooler();
        fake.portsNeeded = c.needed;
        std::string result = "earlier text";

        EXPECT_EQ(CheckPortEnumeration(result), 1);

        EXPECT_EQ(fake.portBufferSizes, (std::vector<DWORD>{0, c.expectedBuffer}));
        EXPECT_EQ(result, "earlier text");
    }
}

TEST_F(SpoolerRules, APortEnumerationIsTriedTwice)
{
    fake.portsNeeded = 200;
    fake.fillErrors = {RPC_S_SERVER_UNAVAILABLE};
    std::string result = "earlier text";

    EXPECT_EQ(CheckPortEnumeration(result), 1);

    EXPECT_EQ(fake.portBufferSizes, (std::vector<DWORD>{0, 1000, 1000}));
    EXPECT_EQ(result, "earlier text");
}

// ---------------------------------------------------------------------------
// Against Wine's spooler. Every test removes what it added.

const char kTestDriver[] = "DriverSetup Test Driver";
const char kTestQueue[] = "DriverSetup Test Printer";

std::string StandinPath(const std::string& name)
{
    return BuildFolder() + "package\\W32\\" + name;
}

std::string PrinterDriverDirectory()
{
    char directory[MAX_PATH] = {};
    DWORD needed = 0;
    ::GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(directory), sizeof(directory),
                                 &needed);
    return directory;
}

std::string PrintProcessorDirectory()
{
    char directory[MAX_PATH] = {};
    DWORD needed = 0;
    ::GetPrintProcessorDirectoryA(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(directory),
                                  sizeof(directory), &needed);
    return directory;
}

std::string SystemDirectory()
{
    char directory[MAX_PATH] = {};
    ::GetSystemDirectoryA(directory, sizeof(directory));
    return directory;
}

// PRINTER_INFO_2 of a queue; empty when it does not open.
std::vector<BYTE> ReadQueue(const std::string& name)
{
    PrinterHandle printer;
    if (!::OpenPrinterA(const_cast<LPSTR>(name.c_str()), printer.Receive(), nullptr))
        return {};
    DWORD needed = 0;
    ::GetPrinterA(printer.Get(), 2, nullptr, 0, &needed);
    std::vector<BYTE> info(needed);
    if (needed == 0 || !::GetPrinterA(printer.Get(), 2, info.data(), needed, &needed))
        return {};
    return info;
}

void DeleteQueue(const std::string& name)
{
    PrinterHandle printer;
    PRINTER_DEFAULTSA access = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (::OpenPrinterA(const_cast<LPSTR>(name.c_str()), printer.Receive(), &access))
        ::DeletePrinter(printer.Get());
}

int QueuesNamed(const std::string& name)
{
    DWORD needed = 0;
    DWORD count = 0;
    ::EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 4, nullptr, 0, &needed, &count);
    std::vector<BYTE> list(needed);
    if (needed == 0 || !::EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 4, list.data(), needed, &needed, &count))
        return 0;
    int found = 0;
    const auto* queues = reinterpret_cast<const PRINTER_INFO_4A*>(list.data());
    for (DWORD i = 0; i < count; ++i)
        found += name == queues[i].pPrinterName ? 1 : 0;
    return found;
}

bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// Wine's spooler in every call, and the stand-in files of the maker's GDI
// driver in the printer driver directory, as the installation copies them.
class WineSpooler : public ::testing::Test {
protected:
    WineSpooler()
    {
        folder.Language(kTexts);
        const std::string directory = PrinterDriverDirectory();
        ::CreateDirectoryA(directory.c_str(), nullptr);
        for (const char* file : {"TVGDI.DLL", "TVGDIUI.DLL", "QK410.DAT", "TVGDI.HLP", "TTFSUB.GPD",
                                 "UNIRES.DLL", "STDNAMES.GPD"}) {
            const std::string copy = directory + "\\" + file;
            if (!::CopyFileA(StandinPath(file).c_str(), copy.c_str(), FALSE))
                ADD_FAILURE() << "cannot copy " << StandinPath(file) << " to " << copy;
            // The spooler copies the driver's files on into its version folder.
            m_copies.push_back(copy);
            m_copies.push_back(directory + "\\3\\" + file);
        }
    }

    ~WineSpooler() override
    {
        for (const std::string& queue : m_queues)
            DeleteQueue(queue);
        ::DeletePrinterDriverA(nullptr, nullptr, const_cast<LPSTR>(kTestDriver));
        for (const std::string& copy : m_copies)
            ::DeleteFileA(copy.c_str());
    }

    DRIVER_INFO_3A DriverRecord()
    {
        DRIVER_INFO_3A driver = {};
        driver.cVersion = 3;
        driver.pName = const_cast<LPSTR>(kTestDriver);
        driver.pDriverPath = m_driverPath;
        driver.pDataFile = m_dataFile;
        driver.pConfigFile = m_configFile;
        driver.pHelpFile = m_helpFile;
        driver.pDependentFiles = m_dependentFiles;
        return driver;
    }

    void InstallTestDriver()
    {
        DRIVER_INFO_3A driver = DriverRecord();
        std::string result;
        ASSERT_EQ(InstallPrinterDriver(driver, result), 1) << result;
    }

    // A record as the program builds it: no data type, which Windows takes
    // from the print processor.
    PRINTER_INFO_2A QueueRecord(const char* processor = "WinPrint")
    {
        PRINTER_INFO_2A record = {};
        record.pPrinterName = const_cast<LPSTR>(kTestQueue);
        record.pPortName = const_cast<LPSTR>("LPT1:");
        record.pDriverName = const_cast<LPSTR>(kTestDriver);
        record.pPrintProcessor = const_cast<LPSTR>(processor);
        record.Attributes = 576;
        return record;
    }

    void Remember(const std::string& queue) { m_queues.push_back(queue); }

    ScopedSpoolerApi spoolerApi;
    SetupFolder folder;

private:
    char m_driverPath[16] = "TVGDI.DLL";
    char m_dataFile[16] = "QK410.DAT";
    char m_configFile[16] = "TVGDIUI.DLL";
    char m_helpFile[16] = "TVGDI.HLP";
    char m_dependentFiles[64] = "QK410.DAT\0TTFSUB.GPD\0UNIRES.DLL\0STDNAMES.GPD\0";
    std::vector<std::string> m_copies;
    std::vector<std::string> m_queues;
};

TEST_F(WineSpooler, RegistersTheDriverItListsAfterwards)
{
    DRIVER_INFO_3A driver = DriverRecord();
    std::string result = "earlier text";

    ASSERT_EQ(InstallPrinterDriver(driver, result), 1);
    EXPECT_EQ(result, "earlier text");

    DWORD needed = 0;
    DWORD count = 0;
    ::EnumPrinterDriversA(nullptr, nullptr, 3, nullptr, 0, &needed, &count);
    std::vector<BYTE> list(needed);
    ASSERT_TRUE(::EnumPrinterDriversA(nullptr, nullptr, 3, list.data(), needed, &needed, &count));
    const DRIVER_INFO_3A* found = nullptr;
    const auto* drivers = reinterpret_cast<const DRIVER_INFO_3A*>(list.data());
    for (DWORD i = 0; i < count; ++i) {
        if (std::string(drivers[i].pName) == kTestDriver)
            found = &drivers[i];
    }
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->cVersion, 3u);
    EXPECT_TRUE(EndsWith(found->pDriverPath, "\\TVGDI.DLL")) << found->pDriverPath;
    EXPECT_TRUE(EndsWith(found->pConfigFile, "\\TVGDIUI.DLL")) << found->pConfigFile;
    EXPECT_TRUE(EndsWith(found->pDataFile, "\\QK410.DAT")) << found->pDataFile;
}

TEST_F(WineSpooler, AddsTheQueueItReadsBack)
{
    ASSERT_NO_FATAL_FAILURE(InstallTestDriver());
    PRINTER_INFO_2A record = QueueRecord();
    std::string queueName;
    std::string result = "earlier text";

    ASSERT_EQ(AddPrinterUnique(record, 2, false, queueName, result), 1) << result;
    Remember(queueName);

    EXPECT_EQ(queueName, kTestQueue);
    EXPECT_EQ(result, "earlier text");
    std::vector<BYTE> info = ReadQueue(queueName);
    ASSERT_FALSE(info.empty());
    const auto* queue = reinterpret_cast<const PRINTER_INFO_2A*>(info.data());
    EXPECT_STREQ(queue->pDriverName, kTestDriver);
    EXPECT_STREQ(queue->pPortName, "LPT1:");
    EXPECT_STREQ(queue->pPrintProcessor, "WinPrint");
    EXPECT_EQ(queue->Attributes & 576u, 576u);
    // The record names no data type: the queue has the processor's default,
    // and the caller's record is as it was.
    EXPECT_STREQ(queue->pDatatype, "RAW");
    EXPECT_EQ(record.pDatatype, nullptr);
    // The default settings come from the stand-in configuration DLL.
    ASSERT_NE(queue->pDevMode, nullptr);
    EXPECT_STREQ(reinterpret_cast<const char*>(queue->pDevMode->dmDeviceName), kTestQueue);
    EXPECT_EQ(queue->pDevMode->dmPaperSize, DMPAPER_A4);
}

// Wine's spooler takes a name in use again and replaces that queue (Windows
// refuses with ERROR_PRINTER_ALREADY_EXISTS), so there the queue keeps its name.
TEST_F(WineSpooler, TakesANameInUseAgain)
{
    ASSERT_NO_FATAL_FAILURE(InstallTestDriver());
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        PRINTER_INFO_2A record = QueueRecord();
        std::string queueName;
        std::string result;

        ASSERT_EQ(AddPrinterUnique(record, 2, false, queueName, result), 1) << result;
        Remember(queueName);
        EXPECT_EQ(queueName, kTestQueue);
    }
    EXPECT_EQ(QueuesNamed(kTestQueue), 1);
}

// A spooler that refuses names in use, as Windows does, in front of Wine's.
HANDLE WINAPI AddPrinterRefusingNamesInUse(LPSTR server, DWORD level, LPBYTE printer)
{
    const char* name = reinterpret_cast<PRINTER_INFO_2A*>(printer)->pPrinterName;
    if (!ReadQueue(name).empty()) {
        ::SetLastError(ERROR_PRINTER_ALREADY_EXISTS);
        return nullptr;
    }
    return ::AddPrinterA(server, level, printer);
}

TEST_F(WineSpooler, ASecondQueueOfTheNameGetsTheNextNumber)
{
    ASSERT_NO_FATAL_FAILURE(InstallTestDriver());
    g_spoolerApi.addPrinter = AddPrinterRefusingNamesInUse;
    std::vector<std::string> created;
    for (int run = 0; run < 2; ++run) {
        PRINTER_INFO_2A record = QueueRecord();
        std::string queueName;
        std::string result;
        ASSERT_EQ(AddPrinterUnique(record, 2, false, queueName, result), 1) << result;
        Remember(queueName);
        created.push_back(queueName);
    }

    EXPECT_EQ(created, (std::vector<std::string>{kTestQueue, std::string(kTestQueue) + "(1)"}));
    std::vector<BYTE> info = ReadQueue(created[1]);
    ASSERT_FALSE(info.empty());
    EXPECT_EQ(std::string(reinterpret_cast<const PRINTER_INFO_2A*>(info.data())->pPrinterName), created[1]);
}

TEST_F(WineSpooler, MakesTheQueueTheDefaultPrinter)
{
    ASSERT_NO_FATAL_FAILURE(InstallTestDriver());
    char previous[MAX_PATH] = {};
    DWORD size = sizeof(previous);
    const bool hadDefault = ::GetDefaultPrinterA(previous, &size) != FALSE;
    PRINTER_INFO_2A record = QueueRecord();
    std::string queueName;
    std::string result;
    ASSERT_EQ(AddPrinterUnique(record, 2, false, queueName, result), 1) << result;
    Remember(queueName);

    EXPECT_EQ(MakeDefaultPrinter(queueName.c_str()), 1);

    char current[MAX_PATH] = {};
    size = sizeof(current);
    ASSERT_TRUE(::GetDefaultPrinterA(current, &size));
    EXPECT_EQ(std::string(current), queueName);
    if (hadDefault)
        ::SetDefaultPrinterA(previous);
}

TEST_F(WineSpooler, ProbesThePortEnumeration)
{
    std::string result = "earlier text";

    EXPECT_EQ(CheckPortEnumeration(result), 1);
    EXPECT_EQ(result, "earlier text");
}

// The stand-in monitors, registered under names of the test's own.
class WineMonitors : public WineSpooler {
protected:
    ~WineMonitors() override
    {
        for (const std::string& monitor : m_monitors)
            ::DeleteMonitorA(nullptr, nullptr, const_cast<LPSTR>(monitor.c_str()));
        for (const std::string& copy : m_systemCopies)
            ::DeleteFileA(copy.c_str());
    }

    // Copies the stand-in into the system directory under dllName, as the
    // installation does, and removes it again afterwards.
    void CopyToSystem(const char* standin, const char* dllName)
    {
        const std::string copy = SystemDirectory() + "\\" + dllName;
        ASSERT_TRUE(::CopyFileA(StandinPath(standin).c_str(), copy.c_str(), FALSE)) << copy;
        m_systemCopies.push_back(copy);
    }

    void Remember(const char* monitor) { m_monitors.emplace_back(monitor); }

private:
    std::vector<std::string> m_monitors;
    std::vector<std::string> m_systemCopies;
};

// The "Driver" value of a monitor's key; empty when there is none.
std::string MonitorDriver(const std::string& monitor)
{
    const std::string key = "System\\CurrentControlSet\\Control\\Print\\Monitors\\" + monitor;
    char driver[MAX_PATH] = {};
    DWORD size = sizeof(driver);
    if (::RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), "Driver", RRF_RT_REG_SZ, nullptr, driver, &size)
        != ERROR_SUCCESS)
        return "";
    return driver;
}

// The spooler's answers as they pass.
std::vector<DWORD> g_monitorAnswers;

BOOL WINAPI AddMonitorNotingTheAnswer(LPSTR server, DWORD level, LPBYTE monitor)
{
    ::SetLastError(ERROR_SUCCESS);
    BOOL added = ::AddMonitorA(server, level, monitor);
    const DWORD error = ::GetLastError();
    g_monitorAnswers.push_back(added ? 0 : error);
    ::SetLastError(error);
    return added;
}

TEST_F(WineMonitors, RegistersAMonitorAndTakesItAgainWhenInstalled)
{
    ASSERT_NO_FATAL_FAILURE(CopyToSystem("TVLMON.DLL", "DSTSTLM.DLL"));
    ASSERT_NO_FATAL_FAILURE(CopyToSystem("TVUSBMON.DLL", "DSTSTPM.DLL"));
    g_spoolerApi.addMonitor = AddMonitorNotingTheAnswer;
    g_monitorAnswers.clear();
    char language[] = "DriverSetup Test Language Monitor";
    char port[] = "DriverSetup Test Port Monitor";
    char languageDll[] = "DSTSTLM.DLL";
    char portDll[] = "DSTSTPM.DLL";
    MONITOR_INFO_2A monitors[] = {{language, nullptr, languageDll}, {port, nullptr, portDll}};
    Remember(language);
    Remember(port);

    for (MONITOR_INFO_2A& monitor : monitors) {
        SCOPED_TRACE(monitor.pName);
        std::string result = "earlier text";
        EXPECT_EQ(InstallMonitor(monitor, result), 1);
        EXPECT_EQ(InstallMonitor(monitor, result), 1);
        EXPECT_EQ(result, "earlier text");

        EXPECT_EQ(MonitorDriver(monitor.pName), monitor.pDLLName);
    }
    // The second registration of each was the spooler's "already installed".
    EXPECT_EQ(g_monitorAnswers, (std::vector<DWORD>{0, ERROR_PRINT_MONITOR_ALREADY_INSTALLED, 0,
                                                    ERROR_PRINT_MONITOR_ALREADY_INSTALLED}));

    // The spooler still lists its ports with both stand-ins loaded.
    std::string result = "earlier text";
    EXPECT_EQ(CheckPortEnumeration(result), 1);
    EXPECT_EQ(result, "earlier text");
}

TEST_F(WineMonitors, AMonitorWhoseDllIsMissingGetsATextThatSaysSo)
{
    char name[] = "DriverSetup Test Missing Monitor";
    char dll[] = "DSNOSUCH.DLL";
    MONITOR_INFO_2A monitor = {name, nullptr, dll};
    Remember(name);
    std::string result;

    EXPECT_EQ(InstallMonitor(monitor, result), 0);

    std::string notFound;
    ASSERT_TRUE(DescribeSystemError(ERROR_MOD_NOT_FOUND, notFound));
    EXPECT_EQ(result, Text("IDS_ERR_ADDMONITOR") + "\n" + notFound);
    // The spooler took the monitor back out.
    EXPECT_EQ(MonitorDriver(name), "");
}

TEST_F(WineSpooler, RegistersAPrintProcessorThatAQueueCanUse)
{
    const char kProcessor[] = "DriverSetup Test Processor";
    const std::string copy = PrintProcessorDirectory() + "\\DSTSTPP.DLL";
    ::CreateDirectoryA(PrintProcessorDirectory().c_str(), nullptr);
    ASSERT_TRUE(::CopyFileA(StandinPath("TVPPROC.DLL").c_str(), copy.c_str(), FALSE));
    std::string result = "earlier text";

    EXPECT_EQ(InstallPrintProcessor(kProcessor, "DSTSTPP.DLL", 7, result), 1);

    ASSERT_NO_FATAL_FAILURE(InstallTestDriver());
    PRINTER_INFO_2A record = QueueRecord(kProcessor);
    std::string queueName;
    EXPECT_EQ(AddPrinterUnique(record, 2, false, queueName, result), 1) << result;
    Remember(queueName);
    EXPECT_EQ(result, "earlier text");

    // Wine's DeletePrintProcessorA removes nothing: the key goes directly.
    const std::string environment = sizeof(void*) == 8 ? "Windows x64" : "Windows NT x86";
    ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, ("System\\CurrentControlSet\\Control\\Print\\Environments\\" + environment
                                         + "\\Print Processors\\" + kProcessor)
                                            .c_str());
    DeleteQueue(queueName);
    ::DeleteFileA(copy.c_str());
}

} // namespace
