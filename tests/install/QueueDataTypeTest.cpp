// The data type a new queue gets when the printer record names none.

#include "install/SpoolerRegistration.h"

#include "support/ScopedSpoolerApi.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_processorTypes;
bool g_enumerationFails = false;
std::string g_dataTypeSeen;
bool g_dataTypeWasNull = false;

BOOL WINAPI FakeEnumDatatypes(LPSTR, LPSTR, DWORD, LPBYTE types, DWORD size, LPDWORD needed, LPDWORD returned)
{
    if (g_enumerationFails) {
        ::SetLastError(ERROR_UNKNOWN_PRINTPROCESSOR);
        return FALSE;
    }
    DWORD required = static_cast<DWORD>(g_processorTypes.size() * sizeof(DATATYPES_INFO_1A));
    for (const std::string& t : g_processorTypes)
        required += static_cast<DWORD>(t.size() + 1);
    *needed = required;
    if (size < required) {
        ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    auto* infos = reinterpret_cast<DATATYPES_INFO_1A*>(types);
    char* text = reinterpret_cast<char*>(types) + g_processorTypes.size() * sizeof(DATATYPES_INFO_1A);
    for (size_t i = 0; i < g_processorTypes.size(); ++i) {
        std::memcpy(text, g_processorTypes[i].c_str(), g_processorTypes[i].size() + 1);
        infos[i].pName = text;
        text += g_processorTypes[i].size() + 1;
    }
    *returned = static_cast<DWORD>(g_processorTypes.size());
    return TRUE;
}

HANDLE WINAPI RecordingAddPrinter(LPSTR, DWORD, LPBYTE printer)
{
    const char* type = reinterpret_cast<PRINTER_INFO_2A*>(printer)->pDatatype;
    g_dataTypeWasNull = type == nullptr;
    g_dataTypeSeen = type != nullptr ? type : "";
    return reinterpret_cast<HANDLE>(static_cast<INT_PTR>(0x4242));
}

BOOL WINAPI CloseNothing(HANDLE)
{
    return TRUE;
}

} // namespace

TEST(QueueDataType, ARecordWithoutOneGetsTheProcessorsDefault)
{
    ScopedSpoolerApi api;
    g_spoolerApi.addPrinter = RecordingAddPrinter;
    g_spoolerApi.closePrinter = CloseNothing;
    g_spoolerApi.enumPrintProcessorDatatypes = FakeEnumDatatypes;
    struct Case {
        std::vector<std::string> types;
        bool fails;
        const char* given;
        const char* sent;
    } cases[] = {
        {{"NT EMF 1.008", "RAW"}, false, nullptr, "NT EMF 1.008"},
        {{"RAW", "TEXT"}, false, "", "RAW"},
        {{}, false, nullptr, "RAW"},
        {{"RAW"}, true, nullptr, "RAW"},
        // A data type the record names goes to the spooler unchanged.
        {{"RAW"}, false, "TEXT", "TEXT"},
    };
    for (const auto& c : cases) {
        g_processorTypes = c.types;
        g_enumerationFails = c.fails;
        char processor[] = "TVPrintProc";
        char name[] = "Queue";
        std::string given = c.given != nullptr ? c.given : "";
        PRINTER_INFO_2A record = {};
        record.pPrinterName = name;
        record.pPrintProcessor = processor;
        record.pDatatype = c.given != nullptr ? &given[0] : nullptr;
        std::string queueName;
        std::string result;
        ASSERT_EQ(AddPrinterUnique(record, 2, false, queueName, result), 1);
        EXPECT_FALSE(g_dataTypeWasNull);
        EXPECT_EQ(g_dataTypeSeen, c.sent);
        // The caller's record keeps what it had.
        EXPECT_EQ(record.pDatatype, c.given != nullptr ? &given[0] : nullptr);
    }
}
