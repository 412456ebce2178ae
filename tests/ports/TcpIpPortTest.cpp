// Adding a standard TCP/IP port through the spooler of the Wine session. Wine
// has no "Standard TCP/IP Port" monitor; the test registers the stand-in
// monitor of the build under that name, which keeps the add-port record it
// receives. Answers Wine's spooler never gives (a failed XcvDataW, a refused
// open) come through the seams.

#include "ports/TcpIpPort.h"

#include "install/SpoolerApi.h"
#include "support/MessageBoxCatcher.h"
#include "support/ScopedPlatformApi.h"
#include "support/ScopedSpoolerApi.h"
#include "support/SetupFolder.h"
#include "support/SimulatedUsb.h"

#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char kMonitorName[] = "Standard TCP/IP Port";

std::string SystemText(DWORD code)
{
    char text[512] = {};
    ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                     sizeof(text), nullptr);
    return text;
}

// The published add-port record (level 1) as bytes: each field at its offset.
class ExpectedRecord {
public:
    ExpectedRecord() : m_bytes(964, '\0') {}
    void Text(size_t offset, const std::string& text)
    {
        for (size_t i = 0; i < text.size(); ++i)
            m_bytes[offset + 2 * i] = text[i];
    }
    void Number(size_t offset, uint32_t value)
    {
        for (int i = 0; i < 4; ++i)
            m_bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    const std::string& Bytes() const { return m_bytes; }

private:
    std::string m_bytes;
};

std::string RecordFor(const std::string& portName, const std::string& address)
{
    ExpectedRecord record;
    record.Text(0, portName);      // sztPortName[64]
    record.Number(128, 1);         // dwVersion
    record.Number(132, 1);         // dwProtocol: raw TCP
    record.Number(136, 964);       // cbSize
    record.Number(140, 0);         // dwReserved
    record.Text(144, address);     // sztHostAddress[49]
    record.Text(242, "meadow");    // sztSNMPCommunity[33]
    record.Number(308, 1);         // dwDoubleSpool
    // sztQueue[33] at 312 and sztIPAddress[16] at 378 stay empty.
    record.Number(952, 9100);      // dwPortNumber
    record.Number(956, 0);         // dwSNMPEnabled
    record.Number(960, 1);         // dwSNMPDevIndex
    return record.Bytes();
}

class TcpIpPortTest : public testing::Test {
protected:
    void SetUp() override
    {
        ::DeleteFileA(RecordPath().c_str());
        std::string dll = StandinBuildFile("TVTCPMON.DLL");
        MONITOR_INFO_2A monitor = {};
        monitor.pName = const_cast<char*>(kMonitorName);
        monitor.pDLLName = &dll[0];
        // Left registered by an interrupted run: 3006.
        if (!::AddMonitorA(nullptr, 2, reinterpret_cast<LPBYTE>(&monitor))) {
            ASSERT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_PRINT_MONITOR_ALREADY_INSTALLED));
        }
    }

    void TearDown() override
    {
        ::DeleteMonitorA(nullptr, nullptr, const_cast<char*>(kMonitorName));
        ::DeleteFileA(RecordPath().c_str());
        char name[] = ",XcvMonitor Standard TCP/IP Port";
        HANDLE left = nullptr;
        EXPECT_FALSE(::OpenPrinterA(name, &left, nullptr)) << "monitor left registered";
        if (left != nullptr)
            ::ClosePrinter(left);
    }

    static std::string RecordPath() { return StandinBuildFile("AddPort.bin"); }

    // AddTcpIpPort's result, with the message boxes shown meanwhile.
    static int Add(const std::string& portName, const std::string& address, std::vector<CaughtMessageBox>& boxes)
    {
        MessageBoxCatcher catcher;
        int result = AddTcpIpPort(portName.c_str(), address.c_str());
        boxes = catcher.Boxes();
        return result;
    }
};

} // namespace

TEST_F(TcpIpPortTest, SendsTheAddPortRecordToTheMonitor)
{
    std::vector<CaughtMessageBox> boxes;
    EXPECT_EQ(Add("TVIP_192.168.0.7", "192.168.0.7", boxes), 1);
    EXPECT_TRUE(boxes.empty());
    const std::string record = ReadWholeFile(RecordPath());
    ASSERT_EQ(record.size(), 964u);
    EXPECT_EQ(record, RecordFor("TVIP_192.168.0.7", "192.168.0.7"));
}

TEST_F(TcpIpPortTest, TextsFillTheirFieldsToTheLastCharacter)
{
    const std::string longestName = "TVIP_" + std::string(58, '9');
    const std::string longestHost(48, 'h');
    std::vector<CaughtMessageBox> boxes;
    EXPECT_EQ(Add(longestName, longestHost, boxes), 1);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(ReadWholeFile(RecordPath()), RecordFor(longestName, longestHost));
}

// A text that does not fit its field would name another port or printer: it
// is refused before the spooler is asked, and nothing overflows.
TEST_F(TcpIpPortTest, TextsTooLongForTheRecordAreRefused)
{
    const struct Case {
        const char* what;
        std::string name;
        std::string address;
    } cases[] = {
        {"name of 64 characters", "TVIP_" + std::string(59, '9'), "192.168.0.7"},
        {"address of 49 characters", "TVIP_192.168.0.7", std::string(49, 'h')},
        {"huge name", std::string(5000, 'n'), "192.168.0.7"},
        {"huge address", "TVIP_192.168.0.7", std::string(5000, 'h')},
    };
    for (const auto& c : cases) {
        std::vector<CaughtMessageBox> boxes;
        EXPECT_EQ(Add(c.name, c.address, boxes), 0) << c.what;
        ASSERT_EQ(boxes.size(), 1u) << c.what;
        EXPECT_EQ(boxes[0].caption, "ERROR") << c.what;
        EXPECT_EQ(boxes[0].text, SystemText(ERROR_INSUFFICIENT_BUFFER)) << c.what;
        EXPECT_EQ(::GetFileAttributesA(RecordPath().c_str()), INVALID_FILE_ATTRIBUTES) << c.what;
    }
}

// Without the monitor the spooler refuses the open (1796, the port is
// unknown): its text is shown under "ERROR".
TEST_F(TcpIpPortTest, ARefusedOpenShowsTheSystemsText)
{
    ASSERT_TRUE(::DeleteMonitorA(nullptr, nullptr, const_cast<char*>(kMonitorName)));
    std::vector<CaughtMessageBox> boxes;
    EXPECT_EQ(Add("TVIP_192.168.0.7", "192.168.0.7", boxes), 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "ERROR");
    EXPECT_EQ(boxes[0].text, SystemText(ERROR_UNKNOWN_PORT));
    EXPECT_FALSE(boxes[0].text.empty());
}

namespace {

BOOL WINAPI OpenPrinterDenied(LPSTR, LPHANDLE printer, LPPRINTER_DEFAULTSA)
{
    *printer = nullptr;
    ::SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

// What the fake XcvDataW answers.
struct XcvAnswer {
    BOOL result;
    DWORD status;
    DWORD lastError;
};
XcvAnswer g_xcvAnswer;
int g_xcvCalls = 0;

BOOL WINAPI FakeXcvData(HANDLE, PCWSTR command, PBYTE input, DWORD inputSize, PBYTE, DWORD outputSize, PDWORD,
                        PDWORD status)
{
    ++g_xcvCalls;
    EXPECT_STREQ(command, L"AddPort");
    EXPECT_EQ(inputSize, 964u);
    EXPECT_EQ(outputSize, 260u);
    EXPECT_NE(input, nullptr);
    *status = g_xcvAnswer.status;
    ::SetLastError(g_xcvAnswer.lastError);
    return g_xcvAnswer.result;
}

bool g_hideXcvData = false;

FARPROC WINAPI GetProcAddressWithFakeXcv(HMODULE module, LPCSTR name)
{
    if (std::strcmp(name, "XcvDataW") == 0)
        return g_hideXcvData ? nullptr : reinterpret_cast<FARPROC>(reinterpret_cast<void*>(FakeXcvData));
    return ::GetProcAddress(module, name);
}

} // namespace

TEST_F(TcpIpPortTest, AnOpenWithoutTheRightToAdministerShowsAccessDenied)
{
    ScopedSpoolerApi spooler;
    g_spoolerApi.openPrinter = OpenPrinterDenied;
    std::vector<CaughtMessageBox> boxes;
    EXPECT_EQ(Add("TVIP_192.168.0.7", "192.168.0.7", boxes), 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "ERROR");
    EXPECT_EQ(boxes[0].text, SystemText(ERROR_ACCESS_DENIED));
}

// The monitor's status decides, and is the failure's reason.
TEST_F(TcpIpPortTest, TheMonitorsStatusDecides)
{
    ScopedPlatformApi api;
    g_platformApi.getProcAddress = GetProcAddressWithFakeXcv;
    const struct Case {
        const char* what;
        XcvAnswer answer;
        bool hidden;
        int result;
        DWORD shownError; // 0: no message
    } cases[] = {
        {"success", {TRUE, ERROR_SUCCESS, ERROR_SUCCESS}, false, 1, 0},
        // A port of that name is already there: it serves.
        {"success, the monitor says the port exists", {TRUE, ERROR_ALREADY_EXISTS, ERROR_SUCCESS}, false, 1, 0},
        // The call reached the monitor, which refused: no port.
        {"delivered, the monitor refused", {TRUE, ERROR_ACCESS_DENIED, ERROR_SUCCESS}, false, 0,
         ERROR_ACCESS_DENIED},
        {"delivered, the monitor found the record bad", {TRUE, ERROR_INVALID_PARAMETER, ERROR_SUCCESS}, false, 0,
         ERROR_INVALID_PARAMETER},
        {"failure with the monitor's status", {FALSE, ERROR_ACCESS_DENIED, ERROR_INVALID_PARAMETER}, false, 0,
         ERROR_ACCESS_DENIED},
        // Without a status the call's own error is the reason.
        {"failure without a status", {FALSE, ERROR_SUCCESS, ERROR_INVALID_HANDLE}, false, 0, ERROR_INVALID_HANDLE},
        {"no XcvDataW", {TRUE, ERROR_SUCCESS, ERROR_SUCCESS}, true, 0, ERROR_PROC_NOT_FOUND},
    };
    for (const auto& c : cases) {
        g_xcvAnswer = c.answer;
        g_hideXcvData = c.hidden;
        g_xcvCalls = 0;
        std::vector<CaughtMessageBox> boxes;
        EXPECT_EQ(Add("TVIP_10.0.0.1", "10.0.0.1", boxes), c.result) << c.what;
        EXPECT_EQ(g_xcvCalls, c.hidden ? 0 : 1) << c.what;
        if (c.shownError == 0) {
            EXPECT_TRUE(boxes.empty()) << c.what;
        } else {
            ASSERT_EQ(boxes.size(), 1u) << c.what;
            EXPECT_EQ(boxes[0].caption, "ERROR") << c.what;
            EXPECT_EQ(boxes[0].text, SystemText(c.shownError)) << c.what;
        }
    }
    g_hideXcvData = false;
}
