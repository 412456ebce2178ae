#include "ports/UsbPrinterNumber.h"

#include "afx/AfxWin.h"
#include "ports/ProgramFolderLibrary.h"

#include <windows.h>

#include <cstring>
#include <string_view>

namespace {

using EnumUsbPrinterFn = int(WINAPI*)(char* list);

// The DLL fills at most this much; one more zero byte keeps the text ended
// whatever it writes.
constexpr size_t kPrinterListSize = 1024;

} // namespace

int GetUsbPrinterNumber(const char* model)
{
    ModuleHandle dll = LoadProgramFolderLibrary("USBPrintDll.dll");
    if (!dll) {
        AfxMessageBox("load library failed!", MB_OK);
        return 0;
    }
    auto enumPrinters = FindExport<EnumUsbPrinterFn>(dll, "EnumUSBPrinter");
    if (enumPrinters == nullptr)
        return 0;

    char list[kPrinterListSize + 1] = {};
    if (enumPrinters(list) < 0)
        return 0;
    list[kPrinterListSize] = '\0';

    const std::string_view text(list);
    const std::string_view name(model != nullptr ? model : "");
    if (name.empty())
        return 0;
    const size_t at = text.find(name);
    if (at == std::string_view::npos)
        return 0;
    // The marker is looked for after the whole name, so that a name with an
    // "@" of its own still finds its port number.
    const size_t marker = text.find('@', at + name.size());
    if (marker == std::string_view::npos)
        return 0;
    const char digit = text[marker - 1];
    return digit >= '1' && digit <= '4' ? digit - '0' : 0;
}
