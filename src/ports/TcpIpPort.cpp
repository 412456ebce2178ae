#include "ports/TcpIpPort.h"

#include "install/SpoolerApi.h"
#include "platform/Handles.h"
#include "platform/PlatformApi.h"
#include "platform/SystemMessage.h"

#include <windows.h>
#include <winspool.h>

#include <cstddef>
#include <string>

namespace {

// The monitor's published add-port record (level 1).
struct PortData1 {
    WCHAR sztPortName[64];
    DWORD dwVersion;
    DWORD dwProtocol;
    DWORD cbSize;
    DWORD dwReserved;
    WCHAR sztHostAddress[49];
    WCHAR sztSNMPCommunity[33];
    DWORD dwDoubleSpool;
    WCHAR sztQueue[33];
    WCHAR sztIPAddress[16];
    BYTE Reserved[540];
    DWORD dwPortNumber;
    DWORD dwSNMPEnabled;
    DWORD dwSNMPDevIndex;
};
static_assert(sizeof(PortData1) == 964, "the monitor takes exactly 964 bytes");
static_assert(offsetof(PortData1, dwPortNumber) == 952, "published layout");

constexpr DWORD kProtocolRawTcp = 1;
constexpr DWORD kRawTcpPort = 9100;
constexpr DWORD kReplySize = 260;

using XcvDataFn = BOOL(WINAPI*)(HANDLE xcv, PCWSTR command, PBYTE input, DWORD inputSize, PBYTE output,
                                DWORD outputSize, PDWORD outputNeeded, PDWORD status);

// Converts an ANSI text into a field of the record. False, with the system's
// error, when it does not fit whole.
template <size_t N>
bool ToField(const char* text, WCHAR (&field)[N])
{
    int length = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 0)
        return false;
    if (static_cast<size_t>(length) > N) {
        ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return false;
    }
    return ::MultiByteToWideChar(CP_ACP, 0, text, -1, field, static_cast<int>(N)) > 0;
}

// The system's text for the thread's last error, under "ERROR".
int ReportFailure()
{
    const DWORD error = ::GetLastError();
    std::string text;
    if (!DescribeSystemError(error, text))
        text = "Error " + std::to_string(error);
    ::MessageBoxA(nullptr, text.c_str(), "ERROR", MB_ICONINFORMATION);
    return 0;
}

} // namespace

int AddTcpIpPort(const char* portName, const char* address)
{
    LocalMemory record(::LocalAlloc(LMEM_FIXED | LMEM_ZEROINIT, sizeof(PortData1)));
    LocalMemory reply(::LocalAlloc(LMEM_FIXED | LMEM_ZEROINIT, kReplySize));
    if (!record || !reply)
        return ReportFailure();
    auto* data = static_cast<PortData1*>(record.Get());
    if (!ToField(portName != nullptr ? portName : "", data->sztPortName)
        || !ToField(address != nullptr ? address : "", data->sztHostAddress))
        return ReportFailure();
    data->dwVersion = 1;
    data->dwProtocol = kProtocolRawTcp;
    data->cbSize = sizeof(PortData1);
    ToField("meadow", data->sztSNMPCommunity);
    data->dwDoubleSpool = 1;
    data->dwPortNumber = kRawTcpPort;
    data->dwSNMPEnabled = 0;
    data->dwSNMPDevIndex = 1;

    char monitorName[] = ",XcvMonitor Standard TCP/IP Port";
    PRINTER_DEFAULTSA defaults = {nullptr, nullptr, SERVER_ACCESS_ADMINISTER};
    SpoolerPrinter monitor;
    if (!g_spoolerApi.openPrinter(monitorName, monitor.Receive(), &defaults)) {
        // The owner must not close a handle that a failed open left behind.
        monitor.Release();
        return ReportFailure();
    }

    // Resolved at run time: older spoolers lack it.
    ModuleHandle spooler(g_platformApi.loadLibrary("winspool.drv"));
    auto xcvData = spooler ? reinterpret_cast<XcvDataFn>(reinterpret_cast<void*>(
                                 g_platformApi.getProcAddress(spooler.Get(), "XcvDataW")))
                           : nullptr;
    if (xcvData == nullptr) {
        ::SetLastError(ERROR_PROC_NOT_FOUND);
        return ReportFailure();
    }

    DWORD needed = 0;
    DWORD status = ERROR_SUCCESS;
    // The call reaching the monitor is not enough: the monitor's status says
    // whether the port was made. A port of that name already there serves.
    const BOOL delivered = xcvData(monitor.Get(), L"AddPort", static_cast<PBYTE>(record.Get()),
                                   sizeof(PortData1), static_cast<PBYTE>(reply.Get()), kReplySize, &needed,
                                   &status);
    if (delivered && (status == ERROR_SUCCESS || status == ERROR_ALREADY_EXISTS))
        return 1;
    // A failure the monitor gave no reason for keeps the call's own error.
    if (status != ERROR_SUCCESS)
        ::SetLastError(status);
    return ReportFailure();
}
