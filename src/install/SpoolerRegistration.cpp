#include "install/SpoolerRegistration.h"

#include "config/LangText.h"
#include "install/SpoolerApi.h"
#include "platform/Handles.h"
#include "platform/PlatformApi.h"
#include "platform/SystemMessage.h"

#include <vector>

namespace {

const DWORD kBroadcastTimeoutMs = 1000;
const DWORD kFirstPortBufferSize = 100;
const DWORD kSmallestPortBufferSize = 300;
const DWORD kPortBufferSize = 1000;

// The language text of key, and the system's description of error after a line
// feed when the system has one.
std::string FailureText(const char* key, DWORD error)
{
    std::string text = g_langMsg.GetText(key);
    std::string description;
    if (DescribeSystemError(error, description))
        text += "\n" + description;
    return text;
}

// Tells every window that the default printer changed; lParam names the
// changed win.ini section, or is null.
void BroadcastDefaultPrinterChange(LPARAM section)
{
    DWORD_PTR answer = 0;
    g_spoolerApi.sendMessageTimeout(HWND_BROADCAST, WM_WININICHANGE, 0, section, SMTO_NORMAL,
                                    kBroadcastTimeoutMs, &answer);
}

// The queue's PRINTER_INFO_2 in a zero-filled block: the size query must fail
// for want of room and name a size, then the read must succeed.
GlobalMemory ReadPrinterInfo(HANDLE printer)
{
    DWORD needed = 0;
    if (g_spoolerApi.getPrinter(printer, 2, nullptr, 0, &needed)
        || ::GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed == 0)
        return GlobalMemory();
    GlobalMemory block(::GlobalAlloc(GMEM_ZEROINIT, needed));
    if (!block)
        return GlobalMemory();
    if (!g_spoolerApi.getPrinter(printer, 2, static_cast<LPBYTE>(block.Get()), needed, &needed))
        return GlobalMemory();
    return block;
}

// A queue opened with its PRINTER_INFO_2 read.
struct OpenQueue {
    SpoolerPrinter printer;
    GlobalMemory block;

    bool Open(const char* queueName)
    {
        if (!g_spoolerApi.openPrinter(const_cast<LPSTR>(queueName), printer.Receive(), nullptr))
            return false;
        block = ReadPrinterInfo(printer.Get());
        return static_cast<bool>(block);
    }
};

bool HasText(const char* text)
{
    return text != nullptr && text[0] != '\0';
}

// Windows 98/Me keep the default printer as an attribute of the queue.
int MakeDefault9x(const char* queueName)
{
    OpenQueue queue;
    if (!queue.Open(queueName))
        return 0;
    auto* info = static_cast<PRINTER_INFO_2A*>(queue.block.Get());
    info->Attributes |= PRINTER_ATTRIBUTE_DEFAULT;
    if (!g_spoolerApi.setPrinter(queue.printer.Get(), 2, static_cast<LPBYTE>(queue.block.Get()), 0))
        return 0;
    BroadcastDefaultPrinterChange(reinterpret_cast<LPARAM>("windows"));
    return 1;
}

// Windows NT 4.0 keeps it in win.ini: "device" = queue,driver,port.
int MakeDefaultNt4(const char* queueName)
{
    OpenQueue queue;
    if (!queue.Open(queueName))
        return 0;
    const auto* info = static_cast<const PRINTER_INFO_2A*>(queue.block.Get());
    if (!HasText(info->pDriverName) || !HasText(info->pPortName))
        return 0;
    const std::string device = std::string(queueName) + "," + info->pDriverName + "," + info->pPortName;
    if (!g_spoolerApi.writeProfileString("windows", "device", device.c_str()))
        return 0;
    BroadcastDefaultPrinterChange(0);
    return 1;
}

// Windows 2000 and later have SetDefaultPrinterA, which older systems lack:
// it is looked up at run time.
int MakeDefaultNt5(const char* queueName)
{
    using SetDefaultPrinterFn = BOOL(WINAPI*)(LPCSTR);
    ModuleHandle spooler(::LoadLibraryA("winspool.drv"));
    if (!spooler)
        return 0;
    auto setDefault = reinterpret_cast<SetDefaultPrinterFn>(
        reinterpret_cast<void*>(g_platformApi.getProcAddress(spooler.Get(), "SetDefaultPrinterA")));
    if (setDefault == nullptr || !setDefault(queueName))
        return 0;
    BroadcastDefaultPrinterChange(0);
    return 1;
}

// The data type the print processor records jobs in by default: the first of
// its list, or RAW, which every print processor takes, when it names none.
std::string ProcessorDefaultDataType(const char* processor)
{
    if (HasText(processor)) {
        DWORD needed = 0;
        DWORD returned = 0;
        g_spoolerApi.enumPrintProcessorDatatypes(nullptr, const_cast<LPSTR>(processor), 1, nullptr, 0,
                                                 &needed, &returned);
        if (needed > 0) {
            std::vector<BYTE> types(needed);
            if (g_spoolerApi.enumPrintProcessorDatatypes(nullptr, const_cast<LPSTR>(processor), 1,
                                                         types.data(), needed, &needed, &returned)
                && returned > 0) {
                const auto* first = reinterpret_cast<const DATATYPES_INFO_1A*>(types.data());
                if (HasText(first->pName))
                    return first->pName;
            }
        }
    }
    return "RAW";
}

// Gives a record without a data type its print processor's default for as
// long as the object lives. Windows takes a missing data type as that default
// anyway; naming it means the same to every spooler, also to those that
// refuse a record without one.
class DataTypeForRecord {
public:
    explicit DataTypeForRecord(PRINTER_INFO_2A& printer) : m_printer(printer), m_given(printer.pDatatype)
    {
        if (!HasText(m_given)) {
            m_dataType = ProcessorDefaultDataType(printer.pPrintProcessor);
            printer.pDatatype = &m_dataType[0];
        }
    }
    ~DataTypeForRecord() { m_printer.pDatatype = m_given; }
    DataTypeForRecord(const DataTypeForRecord&) = delete;
    DataTypeForRecord& operator=(const DataTypeForRecord&) = delete;

private:
    PRINTER_INFO_2A& m_printer;
    LPSTR m_given;
    std::string m_dataType;
};

} // namespace

int AddPrinterUnique(PRINTER_INFO_2A& printer, DWORD level, bool noRename, std::string& queueName,
                     std::string& result)
{
    const std::string requested = printer.pPrinterName != nullptr ? printer.pPrinterName : "";
    queueName = requested;
    printer.pPrinterName = &queueName[0];

    DataTypeForRecord dataType(printer);
    DWORD error = ERROR_SUCCESS;
    for (int suffix = 0; suffix <= kMaxQueueNameSuffix; ++suffix) {
        if (suffix > 0) {
            queueName = requested + "(" + std::to_string(suffix) + ")";
            printer.pPrinterName = &queueName[0];
        }
        SpoolerPrinter queue(g_spoolerApi.addPrinter(nullptr, level, reinterpret_cast<LPBYTE>(&printer)));
        if (queue)
            return 1;
        error = ::GetLastError();
        if (error != ERROR_PRINTER_ALREADY_EXISTS || noRename)
            break;
    }

    if (error == ERROR_PRINTER_ALREADY_EXISTS)
        result = g_langMsg.GetText("IDS_ERR_TOOMANY");
    else
        result = FailureText("IDS_ERR_ADDPRINTER", error);
    queueName.clear();
    printer.pPrinterName = &queueName[0];
    return 0;
}

int InstallPrinterDriver(DRIVER_INFO_3A& driver, std::string& result)
{
    if (g_spoolerApi.addPrinterDriver(nullptr, 3, reinterpret_cast<LPBYTE>(&driver)))
        return 1;
    result = FailureText("IDS_ERR_ADDPRNDRV3", ::GetLastError());
    return 0;
}

int InstallMonitor(MONITOR_INFO_2A& monitor, std::string& result)
{
    if (g_spoolerApi.addMonitor(nullptr, 2, reinterpret_cast<LPBYTE>(&monitor)))
        return 1;
    const DWORD error = ::GetLastError();
    if (error == ERROR_PRINT_MONITOR_ALREADY_INSTALLED || error == ERROR_ALREADY_EXISTS)
        return 1;
    result = FailureText("IDS_ERR_ADDMONITOR", error);
    return 0;
}

int InstallPrintProcessor(const char* name, const char* dllName, int targetOs, std::string& /*result*/)
{
    char environment9x[] = "Windows 4.0";
    if (g_spoolerApi.addPrintProcessor(nullptr, targetOs == 0 ? environment9x : nullptr,
                                       const_cast<LPSTR>(dllName), const_cast<LPSTR>(name)))
        return 1;
    const DWORD error = ::GetLastError();
    switch (error) {
    case ERROR_INVALID_PARAMETER:
    case ERROR_ALREADY_EXISTS:
    case ERROR_PRINT_PROCESSOR_ALREADY_INSTALLED:
        return static_cast<int>(error);
    default:
        return 0;
    }
}

int MakeDefaultPrinter(const char* queueName)
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    if (!g_platformApi.getVersionEx(&version))
        return 0;
    switch (version.dwPlatformId) {
    case VER_PLATFORM_WIN32_WINDOWS:
        return MakeDefault9x(queueName);
    case VER_PLATFORM_WIN32_NT:
        return version.dwMajorVersion < 5 ? MakeDefaultNt4(queueName) : MakeDefaultNt5(queueName);
    default:
        // Win32s and unknown platforms: nothing to set.
        return 1;
    }
}

int CheckPortEnumeration(std::string& result)
{
    DWORD needed = 0;
    DWORD returned = 0;
    {
        // Only the needed size is wanted: the call is made with a size of 0.
        LocalMemory probe(::LocalAlloc(LMEM_ZEROINIT, kFirstPortBufferSize));
        if (!probe) {
            result = g_langMsg.GetText("IDS_ERR_ALLOCMEMORY");
            return 0;
        }
        g_spoolerApi.enumPorts(nullptr, 1, static_cast<LPBYTE>(probe.Get()), 0, &needed, &returned);
    }

    const DWORD size = needed < kSmallestPortBufferSize ? kPortBufferSize : needed;
    LocalMemory ports(::LocalAlloc(LMEM_ZEROINIT, size));
    if (!ports) {
        result = g_langMsg.GetText("IDS_ERR_ALLOCMEMORY");
        return 0;
    }
    auto* buffer = static_cast<LPBYTE>(ports.Get());
    if (g_spoolerApi.enumPorts(nullptr, 1, buffer, size, &needed, &returned)
        || g_spoolerApi.enumPorts(nullptr, 1, buffer, size, &needed, &returned))
        return 1;
    result = FailureText("IDS_ERR_ALLOCMEMORY", ::GetLastError());
    return 0;
}
