// Reading and writing a USB printer's id through the stand-in of the maker's
// USB access DLL (TvUsbInt.dll) beside the program, which opens the simulated
// printers of UsbPrinters.txt and logs every write it accepts.

#include "ports/UsbPrinterId.h"

#include "afx/AfxWin.h"
#include "support/MessageBoxCatcher.h"
#include "support/ScopedPlatformApi.h"
#include "support/SetupFolder.h"
#include "support/SimulatedUsb.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using Boxes = std::vector<std::string>;

const char kOnePrinterText[] = "Message/IDS_ERR_ONEPRINTER";

class UsbPrinterIdTest : public testing::Test {
protected:
    void SetUp() override
    {
        CopyPackageFiles(m_folder, {"TvUsbInt.dll"});
        m_folder.Language({{"Message", "IDS_ERR_ONEPRINTER"}});
    }

    void Printers(const std::string& list) const { m_folder.Write("UsbPrinters.txt", list); }

    int Read(Boxes& boxes)
    {
        MessageBoxCatcher catcher;
        int id = ReadUsbPrinterId();
        Collect(catcher, boxes);
        return id;
    }

    bool Write(unsigned char n, Boxes& boxes)
    {
        MessageBoxCatcher catcher;
        bool written = WriteUsbPrinterId(n);
        Collect(catcher, boxes);
        return written;
    }

    // The writes the printers accepted, as the stand-in logs them.
    std::vector<std::string> Writes() const { return ReadLines(m_folder.PathOf("TvUsbInt.log")); }

    CWinApp m_app;
    SetupFolder m_folder;

private:
    void Collect(const MessageBoxCatcher& catcher, Boxes& boxes) const
    {
        for (const CaughtMessageBox& box : catcher.Boxes())
            boxes.push_back(box.text);
        // Released on every path, failing ones included.
        EXPECT_EQ(::GetModuleHandleA(m_folder.PathOf("TvUsbInt.dll").c_str()), nullptr) << "DLL left loaded";
    }
};

std::string SetIdCommand(const char* last)
{
    return std::string("1B 73 51 5A 92 99 1D 49 20 ") + last;
}

} // namespace

TEST_F(UsbPrinterIdTest, ReadsTheReleaseNumberOfTheOnePrinter)
{
    const struct Case {
        const char* list;
        int id;
    } cases[] = {
        {"0 0x0009 QMT-K410 1\n", 9},
        {"3 0 QMT-K410 1\n", 0},
        {"7 0xFFFF QMT-K410 1\n", 65535},
        {"4 0x0102 QMT-K410 1\n", 0x102},
        // Slots beyond 7 are not the DLL's.
        {"8 9 QMT-K410 1\n", -1},
    };
    for (const Case& c : cases) {
        Printers(c.list);
        Boxes boxes;
        EXPECT_EQ(Read(boxes), c.id) << c.list;
        EXPECT_TRUE(boxes.empty()) << c.list;
    }
    EXPECT_EQ(UsbPortNumberOfId(9), 2);
}

TEST_F(UsbPrinterIdTest, WritingSetsTheIdThatALaterReadReturns)
{
    Printers("0 0x0009 QMT-K410 1\n");
    for (unsigned char n = 1; n <= 8; ++n) {
        Boxes boxes;
        ASSERT_TRUE(Write(n, boxes)) << int(n);
        EXPECT_EQ(Read(boxes), n - 1) << int(n);
        EXPECT_EQ(UsbPortNumberOfId(n - 1), n);
        EXPECT_TRUE(boxes.empty()) << int(n);
    }
    const std::vector<std::string> writes = Writes();
    ASSERT_EQ(writes.size(), 8u);
    EXPECT_EQ(writes.front(), "write 0: " + SetIdCommand("00"));
    EXPECT_EQ(writes.back(), "write 0: " + SetIdCommand("07"));
}

TEST_F(UsbPrinterIdTest, TwoPrintersAreRefusedByTheReadButTheWriteGoesToTheFirst)
{
    Printers("2 0x0009 QMT-K410 1\n5 0x0003 QMT-K520 2\n");
    Boxes boxes;
    EXPECT_EQ(Read(boxes), kUsbIdSeveralPrinters);
    EXPECT_EQ(boxes, Boxes{kOnePrinterText});

    boxes.clear();
    EXPECT_TRUE(Write(4, boxes));
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(Writes(), std::vector<std::string>{"write 2: " + SetIdCommand("03")});

    // The printer at slot 5 kept its id.
    Printers("5 0x0003 QMT-K520 2\n");
    EXPECT_EQ(Read(boxes), 3);
}

TEST_F(UsbPrinterIdTest, PortNumbersOutsideOneToEightAreRefusedWithoutAWord)
{
    Printers("0 0x0009 QMT-K410 1\n");
    for (unsigned char n : {0, 9, 255}) {
        Boxes boxes;
        EXPECT_FALSE(Write(n, boxes)) << int(n);
        EXPECT_TRUE(boxes.empty()) << int(n);
    }
    EXPECT_TRUE(Writes().empty());
    Boxes boxes;
    EXPECT_EQ(Read(boxes), 9);
}

TEST_F(UsbPrinterIdTest, FailuresShowTheirTexts)
{
    const struct Case {
        const char* what;
        std::string list;
        int id;
        Boxes readBoxes;
        bool written;
        Boxes writeBoxes;
    } cases[] = {
        {"no printer", "", -1, {}, false, {"Can not find USB device."}},
        {"only comments", "; nothing connected\n", -1, {}, false, {"Can not find USB device."}},
        {"descriptor unreadable", "0 9 QMT-K410 1 nodescriptor\n", -1, {"Get Device ID error"}, true, {}},
        {"write refused", "0 9 QMT-K410 1 nowrite\n", 9, {}, false, {"write ID error"}},
        // An unreadable list: the DLL answers every slot with -1.
        {"malformed list", "0 9 QMT-K410\n", -1, {}, false, {"Can not find USB device."}},
        {"release beyond 16 bits", "0 0x10000 QMT-K410 1\n", -1, {}, false, {"Can not find USB device."}},
        {"line too long", "0 9 " + std::string(2000, 'K') + " 1\n", -1, {}, false, {"Can not find USB device."}},
    };
    for (const Case& c : cases) {
        Printers(c.list);
        Boxes readBoxes;
        Boxes writeBoxes;
        EXPECT_EQ(Read(readBoxes), c.id) << c.what;
        EXPECT_EQ(readBoxes, c.readBoxes) << c.what;
        EXPECT_EQ(Write(2, writeBoxes), c.written) << c.what;
        EXPECT_EQ(writeBoxes, c.writeBoxes) << c.what;
    }
}

TEST_F(UsbPrinterIdTest, AHugeListHasSeveralPrinters)
{
    std::string list;
    for (int i = 0; i < 5000; ++i)
        list += std::to_string(i) + " 0x0001 QMT-" + std::string(200, 'K') + std::to_string(i) + " 1\n";
    Printers(list);
    Boxes boxes;
    EXPECT_EQ(Read(boxes), kUsbIdSeveralPrinters);
    EXPECT_EQ(boxes, Boxes{kOnePrinterText});
    boxes.clear();
    EXPECT_TRUE(Write(6, boxes));
    EXPECT_EQ(Writes(), std::vector<std::string>{"write 0: " + SetIdCommand("05")});
}

TEST_F(UsbPrinterIdTest, AMissingDllIsShownByTheReadOnly)
{
    Printers("0 9 QMT-K410 1\n");
    ASSERT_TRUE(::DeleteFileA(m_folder.PathOf("TvUsbInt.dll").c_str()));
    Boxes boxes;
    EXPECT_EQ(Read(boxes), -1);
    EXPECT_EQ(boxes, Boxes{"Can not load TvUsbInt.dll"});
    boxes.clear();
    EXPECT_FALSE(Write(2, boxes));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(UsbPrinterIdTest, ADllWithoutTheExportsIsShownByBoth)
{
    Printers("0 9 QMT-K410 1\n");
    // Another DLL of the maker under the name: it loads but has other exports.
    ASSERT_TRUE(::CopyFileA((BuildFolder() + "package\\USBPrintDll.dll").c_str(),
                            m_folder.PathOf("TvUsbInt.dll").c_str(), FALSE));
    Boxes boxes;
    EXPECT_EQ(Read(boxes), -1);
    EXPECT_FALSE(Write(2, boxes));
    EXPECT_EQ(boxes, (Boxes{"open function error", "open function error"}));
}

namespace {

const char* g_hiddenExport = nullptr;

FARPROC WINAPI GetProcAddressHiding(HMODULE module, LPCSTR name)
{
    if (g_hiddenExport != nullptr && std::strcmp(name, g_hiddenExport) == 0)
        return nullptr;
    return ::GetProcAddress(module, name);
}

} // namespace

// Each operation needs its three functions and no other.
TEST_F(UsbPrinterIdTest, EachOperationNeedsItsOwnThreeExports)
{
    Printers("0 9 QMT-K410 1\n");
    ScopedPlatformApi api;
    g_platformApi.getProcAddress = GetProcAddressHiding;
    const struct Case {
        const char* hidden;
        int id;
        bool written;
    } cases[] = {
        {"OpenDeviceX", -1, false},
        {"CloseDevice", -1, false},
        {"GetDescriptor", -1, true},
        {"uWrite", 1, false},
    };
    for (const Case& c : cases) {
        g_hiddenExport = c.hidden;
        Boxes boxes;
        EXPECT_EQ(Read(boxes), c.id) << c.hidden;
        EXPECT_EQ(boxes, Boxes(c.id < 0 ? 1 : 0, "open function error")) << c.hidden;
        boxes.clear();
        EXPECT_EQ(Write(2, boxes), c.written) << c.hidden;
        EXPECT_EQ(boxes, Boxes(c.written ? 0 : 1, "open function error")) << c.hidden;
    }
    g_hiddenExport = nullptr;
}
