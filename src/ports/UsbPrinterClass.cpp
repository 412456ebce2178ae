#include "ports/UsbPrinterClass.h"

#include "platform/Handles.h"

#include <windows.h>
#include <setupapi.h>

#include <cstring>

namespace {

struct DeviceInfoSetTraits {
    using Handle = HDEVINFO;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { ::SetupDiDestroyDeviceInfoList(h); }
};
using DeviceInfoSet = HandleOwner<DeviceInfoSetTraits>;

// The vendor id as Windows spells it in hardware ids, in both spellings seen.
const char* const kVendorPrefixes[] = {"USB\\VID_7A3D&PID_", "USB\\Vid_7a3d&Pid_"};
constexpr size_t kPrefixLength = 17;
constexpr size_t kHardwareIdSize = 1024;

// Leading hexadecimal digits of at most four characters; none gives 0.
unsigned ParseProductId(const char* text)
{
    unsigned value = 0;
    for (int i = 0; i < 4; ++i) {
        char c = text[i];
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            break;
        value = value * 16 + digit;
    }
    return value;
}

bool IsOwnDriverProduct(unsigned productId)
{
    return productId == 0x1000 || productId == 0x1001 || productId == 0x1002 || productId == 0x7A3D;
}

} // namespace

int ClassifyUsbPrinters()
{
    DeviceInfoSet devices(::SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_PRESENT | DIGCF_ALLCLASSES));
    if (!devices)
        return kUsbNoPrinter;

    int counted = 0;
    int ownDriver = 0;
    int classGroup = 0;
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    for (DWORD index = 0; ::SetupDiEnumDeviceInfo(devices.Get(), index, &device); ++index) {
        // A fresh buffer for each device, one byte longer than the read may
        // fill, so that the text always ends. A device whose id cannot be read
        // is not counted: it must not pass for the device before it.
        char hardwareId[kHardwareIdSize + 1] = {};
        if (!::SetupDiGetDeviceRegistryPropertyA(devices.Get(), &device, SPDRP_HARDWAREID, nullptr,
                                                 reinterpret_cast<BYTE*>(hardwareId), kHardwareIdSize, nullptr))
            continue;
        bool maker = false;
        for (const char* prefix : kVendorPrefixes)
            maker = maker || std::strstr(hardwareId, prefix) != nullptr;
        if (!maker)
            continue;
        ++counted;
        // The product id stands right after a prefix that starts the id; a
        // prefix further inside still counts, with whatever stands there.
        unsigned productId = ParseProductId(hardwareId + kPrefixLength);
        if (IsOwnDriverProduct(productId))
            ++ownDriver;
        else if (productId < 0x2000)
            ++classGroup;
    }

    if (counted > 1 && counted > ownDriver && counted > classGroup)
        return kUsbMixedPrinters;
    if (counted == classGroup && classGroup > 0)
        return kUsbClassPrinters;
    if (counted == ownDriver && ownDriver > 0)
        return kUsbOwnDriverPrinters;
    if (counted == 1)
        return ownDriver != 0 ? kUsbOwnDriverPrinters : kUsbClassPrinters;
    return kUsbNoPrinter;
}
