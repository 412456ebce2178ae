#include "ports/UsbPrinterId.h"

#include "afx/AfxWin.h"
#include "config/LangText.h"
#include "ports/ProgramFolderLibrary.h"

#include <windows.h>

namespace {

using OpenDeviceFn = HANDLE(WINAPI*)(int slot);
using CloseDeviceFn = BOOL(WINAPI*)(HANDLE device);
using GetDescriptorFn = int(WINAPI*)(HANDLE device, unsigned char* descriptor);
using WriteFn = int(WINAPI*)(HANDLE device, int pipe, unsigned char* data, int length);

constexpr int kSlotCount = 8;
// Room for the standard 18-byte device descriptor.
constexpr size_t kDescriptorSize = 20;
// Offset of the descriptor's device release number.
constexpr size_t kReleaseOffset = 12;
constexpr int kSetIdLength = 10;

bool IsDevice(HANDLE handle)
{
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

// The first printer from slot 0 on, or no device. The DLL expects a close
// for every open, also of an empty slot.
HANDLE OpenFirstPrinter(OpenDeviceFn open, CloseDeviceFn close)
{
    for (int slot = 0; slot < kSlotCount; ++slot) {
        HANDLE device = open(slot);
        if (IsDevice(device))
            return device;
        close(device);
    }
    return nullptr;
}

// Closes a device of the DLL when the operation is over, however it ends.
class OpenDevice {
public:
    OpenDevice(CloseDeviceFn close, HANDLE device) : m_close(close), m_device(device) {}
    ~OpenDevice() { m_close(m_device); }
    OpenDevice(const OpenDevice&) = delete;
    OpenDevice& operator=(const OpenDevice&) = delete;
    HANDLE Get() const { return m_device; }

private:
    CloseDeviceFn m_close;
    HANDLE m_device;
};

} // namespace

int ReadUsbPrinterId()
{
    ModuleHandle dll = LoadProgramFolderLibrary("TvUsbInt.dll");
    if (!dll) {
        AfxMessageBox("Can not load TvUsbInt.dll", MB_OK);
        return kUsbIdUnavailable;
    }
    auto open = FindExport<OpenDeviceFn>(dll, "OpenDeviceX");
    auto getDescriptor = FindExport<GetDescriptorFn>(dll, "GetDescriptor");
    auto close = FindExport<CloseDeviceFn>(dll, "CloseDevice");
    if (open == nullptr || getDescriptor == nullptr || close == nullptr) {
        AfxMessageBox("open function error", MB_OK);
        return kUsbIdUnavailable;
    }

    int printers = 0;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        OpenDevice device(close, open(slot));
        if (IsDevice(device.Get()) && ++printers == 2) {
            AfxMessageBox(g_langMsg.GetText("IDS_ERR_ONEPRINTER").c_str(), MB_OK);
            return kUsbIdSeveralPrinters;
        }
    }

    HANDLE first = OpenFirstPrinter(open, close);
    if (first == nullptr)
        return kUsbIdUnavailable;
    OpenDevice device(close, first);
    unsigned char descriptor[kDescriptorSize] = {};
    if (getDescriptor(device.Get(), descriptor) == 0) {
        AfxMessageBox("Get Device ID error", MB_OK);
        return kUsbIdUnavailable;
    }
    return descriptor[kReleaseOffset] | (descriptor[kReleaseOffset + 1] << 8);
}

bool WriteUsbPrinterId(unsigned char n)
{
    if (n == 0 || n > 8)
        return false;
    ModuleHandle dll = LoadProgramFolderLibrary("TvUsbInt.dll");
    if (!dll)
        return false;
    auto open = FindExport<OpenDeviceFn>(dll, "OpenDeviceX");
    auto write = FindExport<WriteFn>(dll, "uWrite");
    auto close = FindExport<CloseDeviceFn>(dll, "CloseDevice");
    if (open == nullptr || write == nullptr || close == nullptr) {
        AfxMessageBox("open function error", MB_OK);
        return false;
    }

    // Unlike the read, the write does not count the printers: the first one
    // gets the id.
    HANDLE first = OpenFirstPrinter(open, close);
    if (first == nullptr) {
        AfxMessageBox("Can not find USB device.", MB_OK);
        return false;
    }
    OpenDevice device(close, first);
    unsigned char command[kSetIdLength] = {0x1B, 0x73, 0x51, 0x5A, 0x92, 0x99, 0x1D, 0x49, 0x20,
                                           static_cast<unsigned char>(n - 1)};
    if (write(device.Get(), 0, command, kSetIdLength) > 0)
        return true;
    AfxMessageBox("write ID error", MB_OK);
    return false;
}
