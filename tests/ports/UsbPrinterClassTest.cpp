// Which of the maker's USB printers are present, from devices that the Setup
// API's enumeration really reports: simulated in the registry of the Wine
// session, beside the devices Wine has of its own.

#include "ports/UsbPrinterClass.h"

#include "support/SimulatedUsb.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Device {
    std::string key;
    std::vector<std::string> hardwareIds;
};

// A device of the maker's vendor id as Windows lists it.
Device Maker(const std::string& productId)
{
    const std::string id = "USB\\VID_7A3D&PID_" + productId;
    return {"VID_7A3D&PID_" + productId, {id + "&REV_0100", id}};
}

struct Case {
    const char* what;
    std::vector<Device> devices;
    int expected;
};

int ClassifyWith(const std::vector<Device>& devices)
{
    SimulatedUsbDevices usb;
    int n = 0;
    for (const Device& device : devices)
        usb.Add(device.key, std::to_string(++n), device.hardwareIds);
    return ClassifyUsbPrinters();
}

} // namespace

TEST(ClassifyUsbPrinters, FollowsTheClassificationTable)
{
    const Case cases[] = {
        {"none of the maker's", {}, kUsbNoPrinter},
        {"one own-driver printer", {Maker("1001")}, kUsbOwnDriverPrinters},
        {"one own-driver printer 7A3D", {Maker("7A3D")}, kUsbOwnDriverPrinters},
        {"one class printer", {Maker("0001")}, kUsbClassPrinters},
        {"one printer of 2000 and above", {Maker("2005")}, kUsbClassPrinters},
        {"two own-driver printers", {Maker("1000"), Maker("1002")}, kUsbOwnDriverPrinters},
        {"two class printers", {Maker("0005"), Maker("0006")}, kUsbClassPrinters},
        {"own-driver and class", {Maker("0005"), Maker("1000")}, kUsbMixedPrinters},
        {"class and 2000 and above", {Maker("0005"), Maker("2005")}, kUsbMixedPrinters},
        {"own-driver and 2000 and above", {Maker("1001"), Maker("2005")}, kUsbMixedPrinters},
        {"two of 2000 and above", {Maker("2005"), Maker("2006")}, kUsbMixedPrinters},
        {"three own-driver printers", {Maker("1000"), Maker("1001"), Maker("1002")}, kUsbOwnDriverPrinters},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClassifyWith(c.devices), c.expected) << c.what;
}

TEST(ClassifyUsbPrinters, ReadsTheVendorIdInItsTwoSpellingsOnly)
{
    const Case cases[] = {
        {"Windows' mixed-case spelling", {{"VID_7A3D&PID_1001", {"USB\\Vid_7a3d&Pid_1001"}}}, kUsbOwnDriverPrinters},
        {"all lower case", {{"VID_7A3D&PID_1001", {"USB\\vid_7a3d&pid_1001"}}}, kUsbNoPrinter},
        {"another vendor", {{"VID_0001&PID_1001", {"USB\\VID_0001&PID_1001"}}}, kUsbNoPrinter},
        // Only the first id of the list is looked at.
        {"the vendor id in the second id", {{"VID_0001&PID_1001", {"USB\\VID_0001&PID_1001", "USB\\VID_7A3D&PID_1001"}}},
         kUsbNoPrinter},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClassifyWith(c.devices), c.expected) << c.what;
}

// The product id is read at the place right after a prefix that starts the
// id, whatever stands there.
TEST(ClassifyUsbPrinters, APrefixInsideTheIdCountsWithWhatStandsAtTheProductIdsPlace)
{
    const Case cases[] = {
        // "USBPRINT\USB\VID_7A3D&PID_0005": at the place stands "7A3D".
        {"7A3D at the place", {{"VID_7A3D&PID_0005", {"USBPRINT\\USB\\VID_7A3D&PID_0005"}}}, kUsbOwnDriverPrinters},
        // "X\USB\VID_7A3D&PID_1001": "D_10" reads as D, a class printer.
        {"D_10 at the place", {{"VID_7A3D&PID_1001", {"X\\USB\\VID_7A3D&PID_1001"}}}, kUsbClassPrinters},
        // "XUSB\VID_7A3D&PID_1001": "_100" has no hexadecimal digit first: 0.
        {"no digit at the place", {{"VID_7A3D&PID_1001", {"XUSB\\VID_7A3D&PID_1001"}}}, kUsbClassPrinters},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClassifyWith(c.devices), c.expected) << c.what;
}

// A device whose hardware id cannot be read is not counted, so it cannot pass
// for the device enumerated before it: one printer of product id 2005 stays a
// single printer instead of two.
TEST(ClassifyUsbPrinters, CountsOnlyDevicesWhoseIdWasRead)
{
    const Case cases[] = {
        {"no id after a 2005 printer", {Maker("2005"), {"VID_7A3D&PID_2006", {}}}, kUsbClassPrinters},
        {"no id after a class printer", {Maker("0005"), {"VID_7A3D&PID_0006", {}}}, kUsbClassPrinters},
        {"no id alone", {{"VID_7A3D&PID_1001", {}}}, kUsbNoPrinter},
        // More than the 1024 bytes the read takes: not read, not counted.
        {"an id list too long to read",
         {Maker("0005"), {"VID_7A3D&PID_1001", {"USB\\VID_7A3D&PID_1001", std::string(2000, 'x')}}},
         kUsbClassPrinters},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClassifyWith(c.devices), c.expected) << c.what;
}
