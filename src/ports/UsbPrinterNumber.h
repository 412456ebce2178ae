#pragma once
// The USB port number under which the maker's USB print DLL lists a
// connected printer model.

// 1 to 4, or 0 when the model is not listed with a port number from 1 to 4 or
// USBPrintDll.dll cannot be used. A DLL that does not load is shown as
// "load library failed!"; every other failure is silent.
int GetUsbPrinterNumber(const char* model);
