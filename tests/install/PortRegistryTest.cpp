#include "install/PortRegistry.h"

#include "platform/Wow64.h"

#include "support/MessageBoxCatcher.h"
#include "support/ScopedPlatformApi.h"
#include "support/SetupFolder.h"

#include "support/RegistryProbe.h"
#include "support/ScopedWow64Flag.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

const char kClassKey[] = "System\\CurrentControlSet\\Services\\Class";
const char kPortsClassKey[] = "System\\CurrentControlSet\\Services\\Class\\Ports";
const char kNtPorts[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports";
const char kTalvornKey[] = "SOFTWARE\\TALVORN";
const char kPortNameKey[] = "SOFTWARE\\TALVORN\\PORTNAME";
const char kPrinterPortKey[] = "SOFTWARE\\TALVORN\\PRINTERPORT";

void WriteRaw(const std::string& subkey, const char* name, DWORD type, const std::string& data)
{
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                nullptr),
              ERROR_SUCCESS);
    if (name != nullptr)
        ::RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                         static_cast<DWORD>(data.size()));
    ::RegCloseKey(key);
}

std::string Dword(DWORD value)
{
    return std::string(reinterpret_cast<const char*>(&value), sizeof(value));
}

std::string Bytes(const DCB& dcb)
{
    return std::string(reinterpret_cast<const char*>(&dcb), sizeof(dcb));
}

std::string ProfilePortsValue(const char* port)
{
    char text[200] = {};
    ::GetProfileStringA("Ports", port, "<none>", text, sizeof(text));
    return text;
}

// Puts win.ini's [Ports] lines that a test writes back as they were.
class ProfilePortsSnapshot {
public:
    explicit ProfilePortsSnapshot(std::vector<std::string> ports) : m_ports(std::move(ports))
    {
        char keys[2048] = {};
        m_sectionExisted = ::GetProfileStringA("Ports", nullptr, "", keys, sizeof(keys)) > 0;
        for (const std::string& port : m_ports) {
            std::string value = ProfilePortsValue(port.c_str());
            m_values.push_back(value == "<none>" ? std::nullopt : std::optional<std::string>(value));
        }
    }
    ~ProfilePortsSnapshot()
    {
        for (size_t i = 0; i < m_ports.size(); ++i)
            ::WriteProfileStringA("Ports", m_ports[i].c_str(), m_values[i] ? m_values[i]->c_str() : nullptr);
        if (!m_sectionExisted)
            ::WriteProfileStringA("Ports", nullptr, nullptr);
        ::WriteProfileStringA(nullptr, nullptr, nullptr);
    }

private:
    std::vector<std::string> m_ports;
    std::vector<std::optional<std::string>> m_values;
    bool m_sectionExisted = false;
};

// The 64-bit guard's functions, as a WOW64 system has them.
std::vector<std::string> g_guardEvents;
bool g_kernelLoads = true;

BOOL WINAPI FakeDisable(PVOID* oldState)
{
    g_guardEvents.push_back("disable");
    *oldState = nullptr;
    return TRUE;
}

BOOL WINAPI FakeRevert(PVOID)
{
    g_guardEvents.push_back("revert");
    return TRUE;
}

HMODULE WINAPI FakeLoadLibrary(LPCSTR name)
{
    if (!g_kernelLoads) {
        ::SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    return ::LoadLibraryA(name);
}

FARPROC WINAPI FakeGetProcAddress(HMODULE module, LPCSTR name)
{
    if (std::strcmp(name, "Wow64DisableWow64FsRedirection") == 0)
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(FakeDisable));
    if (std::strcmp(name, "Wow64RevertWow64FsRedirection") == 0)
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(FakeRevert));
    return ::GetProcAddress(module, name);
}

// A fake WOW64 system for one scope.
class Fake64BitSystem {
public:
    explicit Fake64BitSystem(bool kernelLoads) : m_flag(true)
    {
        g_guardEvents.clear();
        g_kernelLoads = kernelLoads;
        g_platformApi.loadLibrary = FakeLoadLibrary;
        g_platformApi.getProcAddress = FakeGetProcAddress;
    }

private:
    ScopedPlatformApi m_api;
    ScopedWow64Flag m_flag;
};

} // namespace

TEST(FormatSerialSettings, OneDecimalOnlyForOneAndAHalfStopBits)
{
    const struct Case {
        int baud;
        int bits;
        double stop;
        char parity;
        char flow;
        const char* text;
    } cases[] = {
        {9600, 8, 1, 'n', 'x', "9600,n,8,1,x"},
        {9600, 8, 1.5, 'n', 'p', "9600,n,8,1.5,p"},
        {9600, 7, 1.5, 'e', 'p', "9600,e,7,1.5,p"},
        {19200, 8, 2, 'n', 'x', "19200,n,8,2,x"},
        // No flow control: a blank after the last comma.
        {9600, 8, 1, 'n', ' ', "9600,n,8,1, "},
        // Only exactly 1.5 keeps its decimal.
        {115200, 8, 1.25, 'o', 'x', "115200,o,8,1,x"},
        {4800, 8, 1e20, 's', 'x', "4800,s,8,100000000000000000000,x"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatSerialSettings(c.baud, c.bits, c.stop, c.parity, c.flow), c.text) << c.text;
}

TEST(BuildSerialDcb, OnlyTheFieldsTheSettingsName)
{
    static_assert(sizeof(DCB) == 28, "");
    const struct Case {
        char parity;
        char flow;
        double stop;
        bool parityCheck; // fParity and fErrorChar
        BYTE parityCode;
        BYTE stopCode;
    } cases[] = {
        {'n', 'x', 1, false, NOPARITY, ONESTOPBIT},
        {'o', 'p', 1.5, true, ODDPARITY, ONE5STOPBITS},
        {'e', ' ', 2, true, EVENPARITY, TWOSTOPBITS},
        {'m', 'x', 1, true, MARKPARITY, ONESTOPBIT},
        {'s', 'p', 2, true, SPACEPARITY, TWOSTOPBITS},
        // Letters and counts the port page never offers leave their fields 0.
        {'q', 'z', 3, false, 0, 0},
    };
    for (const Case& c : cases) {
        DCB expected;
        std::memset(&expected, 0, sizeof(expected));
        expected.DCBlength = 28;
        expected.BaudRate = 57600;
        expected.fBinary = 1;
        expected.fParity = c.parityCheck;
        expected.fErrorChar = c.parityCheck;
        if (c.flow == 'p') {
            expected.fOutxCtsFlow = 1;
            expected.fRtsControl = RTS_CONTROL_ENABLE;
        }
        if (c.flow == 'x') {
            expected.fOutX = 1;
            expected.fInX = 1;
            expected.XonChar = 0x11;
            expected.XoffChar = 0x13;
        }
        expected.ByteSize = 7;
        expected.Parity = c.parityCode;
        expected.StopBits = c.stopCode;
        EXPECT_EQ(Bytes(BuildSerialDcb(57600, 7, c.stop, c.parity, c.flow)), Bytes(expected))
            << c.parity << " " << c.flow << " " << c.stop;
    }
}

class WriteComSettings9xTest : public testing::Test {
protected:
    void SetUp() override
    {
        // Wine keeps no Windows 98 class keys; a system that has them is not
        // the test's to change.
        if (KeyExists(kPortsClassKey))
            GTEST_SKIP() << "the Ports class key exists";
        m_createdClassKey = !KeyExists(kClassKey);
    }
    void TearDown() override
    {
        DeleteKeyTree(HKEY_LOCAL_MACHINE, m_createdClassKey ? kClassKey : kPortsClassKey);
    }

    static std::string Instance(int n) { return std::string(kPortsClassKey) + "\\000" + std::to_string(n); }

    bool m_createdClassKey = false;
    ProfilePortsSnapshot m_profile{{"COM1:", "COM2:", "COM3:"}};
};

TEST_F(WriteComSettings9xTest, TheDcbGoesToTheChosenSerialInstance)
{
    const std::string serial("\x01", 1);
    const std::string parallel("\x00", 1);
    const std::string none = "-";       // key without PortSubClass
    const std::string absent = "";      // no key
    const struct Case {
        const char* what;
        std::vector<std::string> subClasses; // 0000..0003
        int comNumber;
        const char* port;
        int receiver; // instance that gets the DCB, -1 for none
    } cases[] = {
        {"first serial", {parallel, serial, serial, absent}, 1, "COM1:", 1},
        {"second serial", {parallel, serial, serial, absent}, 2, "COM2:", 2},
        {"COM3 has no DCB", {serial, serial, serial, serial}, 3, "COM3:", -1},
        {"only one serial instance", {serial, parallel, absent, parallel}, 2, "COM2:", -1},
        {"gaps and a key without sub class", {absent, none, absent, serial}, 1, "COM1:", 3},
        // Only the first byte counts.
        {"longer sub class values", {std::string("\x00\x01\x01", 3), std::string("\x01\x00", 2), absent, absent},
         1, "COM1:", 1},
    };
    for (const Case& c : cases) {
        DeleteKeyTree(HKEY_LOCAL_MACHINE, kPortsClassKey);
        for (int i = 0; i < 4; ++i) {
            const std::string& subClass = c.subClasses[static_cast<size_t>(i)];
            if (subClass == none)
                WriteRaw(Instance(i), nullptr, 0, "");
            else if (!subClass.empty())
                WriteRaw(Instance(i), "PortSubClass", REG_BINARY, subClass);
        }

        WriteComSettings9x(c.comNumber, c.port, 9600, 7, 1.5, 'e', 'p');

        for (int i = 0; i < 4; ++i) {
            RawValue dcb = ReadRaw(Instance(i), "DCB");
            if (i == c.receiver) {
                EXPECT_EQ(dcb.status, ERROR_SUCCESS) << c.what;
                EXPECT_EQ(dcb.type, static_cast<DWORD>(REG_NONE)) << c.what;
                EXPECT_EQ(dcb.data, Bytes(BuildSerialDcb(9600, 7, 1.5, 'e', 'p'))) << c.what;
            } else {
                EXPECT_NE(dcb.status, ERROR_SUCCESS) << c.what << ": instance " << i;
            }
        }
        // The [Ports] line is written in every case.
        EXPECT_EQ(ProfilePortsValue(c.port), "9600,e,7,1.5,p") << c.what;
    }
}

TEST_F(WriteComSettings9xTest, WithoutClassKeysOnlyTheProfileLine)
{
    WriteComSettings9x(1, "COM1:", 19200, 8, 2, 'n', 'x');
    EXPECT_FALSE(KeyExists(kPortsClassKey));
    EXPECT_EQ(ProfilePortsValue("COM1:"), "19200,n,8,2,x");
}

TEST_F(WriteComSettings9xTest, WithoutAPortNameTheOtherLinesStay)
{
    ::WriteProfileStringA("Ports", "COM3:", "4800,n,8,1,x");
    WriteRaw(Instance(0), "PortSubClass", REG_BINARY, std::string("\x01", 1));

    WriteComSettings9x(1, nullptr, 9600, 8, 1, 'n', 'x');

    EXPECT_EQ(ProfilePortsValue("COM3:"), "4800,n,8,1,x");
    EXPECT_EQ(ReadRaw(Instance(0), "DCB").data, Bytes(BuildSerialDcb(9600, 8, 1, 'n', 'x')));
}

TEST(WriteComSettingsNt, TheSystemsPortsKeyGetsTheText)
{
    // Wine's Ports key lists COM1: to COM4:.
    RawValue original = ReadRaw(kNtPorts, "COM2:");
    ASSERT_EQ(original.status, ERROR_SUCCESS);

    WriteComSettingsNt("COM2:", 19200, 8, 2, 'n', 'x');
    RawValue written = ReadRaw(kNtPorts, "COM2:");
    WriteRaw(kNtPorts, "COM2:", original.type, original.data);

    EXPECT_EQ(written.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(written.data, std::string("19200,n,8,2,x", 14));
}

TEST(WriteComSettingsNt, AMissingPortsKeyIsNotCreated)
{
    const char missing[] = "SOFTWARE\\TalvornPortRegistryTest\\Ports";
    DeleteKeyTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\TalvornPortRegistryTest");
    WriteComSettingsNt("COM1:", 9600, 8, 1, 'n', 'x', missing);
    EXPECT_FALSE(KeyExists("SOFTWARE\\TalvornPortRegistryTest"));
}

class UsbPortKeysTest : public testing::Test {
protected:
    void SetUp() override
    {
        RemoveKeys();
        m_setup.Set("DRVCONFIG\\setup.ini", "SUPPORTED-USB-DEVICE", "USB001", "1");
        m_setup.Set("DRVCONFIG\\setup.ini", "SUPPORTED-USB-DEVICE", "TVUSB003", "3");
    }
    void TearDown() override { RemoveKeys(); }

    static void RemoveKeys()
    {
        for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
            HKEY talvorn = nullptr;
            if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kTalvornKey, 0, KEY_ALL_ACCESS | view, &talvorn)
                != ERROR_SUCCESS)
                continue;
            DeleteKeyTree(talvorn, "PORTNAME");
            DeleteKeyTree(talvorn, "PRINTERPORT");
            DWORD subkeys = 1;
            DWORD values = 1;
            ::RegQueryInfoKeyA(talvorn, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                               nullptr, nullptr, nullptr);
            ::RegCloseKey(talvorn);
            if (subkeys == 0 && values == 0)
                ::RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kTalvornKey, view, 0);
        }
    }

    SetupFolder m_setup;
};

TEST_F(UsbPortKeysTest, RegisterRecordsTheDeviceNumberOfEachPort)
{
    const struct Case {
        const char* port;
        DWORD number;
    } cases[] = {
        {"USB001", 1},
        {"TVUSB003", 3},
        // Not in SUPPORTED-USB-DEVICE.
        {"USB002", 0},
    };
    for (const Case& c : cases)
        RegisterUsbPortName(c.port);
    for (const Case& c : cases) {
        RawValue value = ReadRaw(kPortNameKey, c.port);
        EXPECT_EQ(value.type, static_cast<DWORD>(REG_DWORD)) << c.port;
        EXPECT_EQ(value.data, Dword(c.number)) << c.port;
    }
    // PRINTERPORT exists for the install sequence's mark, still empty.
    EXPECT_TRUE(KeyExists(kPrinterPortKey));
    EXPECT_EQ(ReadRaw(kPrinterPortKey, "USB001").status, ERROR_FILE_NOT_FOUND);
}

TEST_F(UsbPortKeysTest, RegisterKeepsWhatTheKeysHold)
{
    WriteRaw(kPortNameKey, "USB001", REG_DWORD, Dword(9));
    WriteRaw(kPortNameKey, "USB004", REG_DWORD, Dword(4));
    WriteRaw(kPrinterPortKey, "USB004", REG_DWORD, Dword(0));

    RegisterUsbPortName("USB001");

    EXPECT_EQ(ReadRaw(kPortNameKey, "USB001").data, Dword(1));
    EXPECT_EQ(ReadRaw(kPortNameKey, "USB004").data, Dword(4));
    EXPECT_EQ(ReadRaw(kPrinterPortKey, "USB004").data, Dword(0));
    EXPECT_EQ(ReadRaw(kPrinterPortKey, "USB001").status, ERROR_FILE_NOT_FOUND);
}

TEST_F(UsbPortKeysTest, MarkWritesZeroOnlyIntoAnExistingKey)
{
    EXPECT_TRUE(MarkUsbPrinterPort("USB001"));
    EXPECT_FALSE(KeyExists(kPrinterPortKey)) << "the mark never creates the key";

    RegisterUsbPortName("USB001");
    EXPECT_TRUE(MarkUsbPrinterPort("USB001"));
    RawValue mark = ReadRaw(kPrinterPortKey, "USB001");
    EXPECT_EQ(mark.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(mark.data, Dword(0));
}

TEST_F(UsbPortKeysTest, On64BitWindowsTheKeysAreNativeAndWrittenInsideTheGuard)
{
    Fake64BitSystem system(true);
    MessageBoxCatcher catcher;

    RegisterUsbPortName("TVUSB003");
    EXPECT_TRUE(MarkUsbPrinterPort("TVUSB003"));

    EXPECT_EQ(g_guardEvents, (std::vector<std::string>{"disable", "revert", "disable", "revert"}));
    EXPECT_EQ(ReadRaw(kPortNameKey, "TVUSB003", KEY_WOW64_64KEY).data, Dword(3));
    EXPECT_EQ(ReadRaw(kPrinterPortKey, "TVUSB003", KEY_WOW64_64KEY).data, Dword(0));
    EXPECT_FALSE(KeyExists(kTalvornKey, KEY_WOW64_32KEY));
    EXPECT_TRUE(catcher.Boxes().empty());
}

TEST_F(UsbPortKeysTest, WithoutKernel32NothingIsWrittenAndTheMarkFails)
{
    RegisterUsbPortName("USB001");
    ASSERT_TRUE(KeyExists(kPrinterPortKey));

    Fake64BitSystem system(false);
    MessageBoxCatcher catcher;
    RegisterUsbPortName("TVUSB003");
    EXPECT_FALSE(MarkUsbPrinterPort("USB001"));

    EXPECT_EQ(ReadRaw(kPortNameKey, "TVUSB003").status, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(ReadRaw(kPrinterPortKey, "USB001").status, ERROR_FILE_NOT_FOUND);
    std::vector<std::string> texts;
    for (const CaughtMessageBox& box : catcher.Boxes())
        texts.push_back(box.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"Can't Load Kernel32.dll", "Can't Load Kernel32.dll"}));
}
