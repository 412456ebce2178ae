#pragma once
// The id that each of the maker's USB printers keeps and reports as the device
// release number of its USB device descriptor; its remainder by 8, plus 1, is
// the USB port ("USB_<model>_1" to "_4") the printer belongs to. Read and
// written through the maker's USB access DLL, TvUsbInt.dll, beside the program.

// Results of ReadUsbPrinterId besides the id itself.
constexpr int kUsbIdUnavailable = -1;
constexpr int kUsbIdSeveralPrinters = -2;

// The id (0 to 65535) of the one connected printer. -1 when there is no
// printer or the DLL or the descriptor cannot be used, -2 when more than one
// printer is connected; the failures show their message boxes.
int ReadUsbPrinterId();

// Gives the first connected printer the id n - 1, so that its port number
// becomes n (1 to 8). False for n outside 1 to 8 and on every failure.
bool WriteUsbPrinterId(unsigned char n);

// The port number (1 to 8) of an id.
inline int UsbPortNumberOfId(int id)
{
    return id % 8 + 1;
}
