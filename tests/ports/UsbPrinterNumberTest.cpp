// The USB port number of a model from the printer list of the USB print DLL:
// the stand-in of USBPrintDll.dll beside the program, describing the
// simulated printers of UsbPrinters.txt.

#include "ports/UsbPrinterNumber.h"

#include "afx/AfxWin.h"
#include "support/MessageBoxCatcher.h"
#include "support/SetupFolder.h"
#include "support/SimulatedUsb.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class UsbPrinterNumberTest : public testing::Test {
protected:
    void SetUp() override { CopyPackageFiles(m_folder, {"USBPrintDll.dll"}); }

    // The number for model with this printer list, and the texts of the
    // message boxes shown meanwhile.
    int NumberOf(const std::string& list, const std::string& model, std::vector<std::string>* boxes = nullptr)
    {
        m_folder.Write("UsbPrinters.txt", list);
        MessageBoxCatcher catcher;
        int number = GetUsbPrinterNumber(model.c_str());
        for (const CaughtMessageBox& box : catcher.Boxes()) {
            if (boxes != nullptr)
                boxes->push_back(box.text);
            else
                ADD_FAILURE() << "unexpected message box: " << box.text;
        }
        EXPECT_EQ(::GetModuleHandleA(m_folder.PathOf("USBPrintDll.dll").c_str()), nullptr) << "DLL left loaded";
        return number;
    }

    CWinApp m_app;
    SetupFolder m_folder;
};

struct Case {
    const char* what;
    std::string list;
    std::string model;
    int expected;
};

std::string ManyPrinters(int count, int port)
{
    std::string list;
    for (int i = 0; i < count; ++i)
        list += std::to_string(i) + " 0 MODEL-" + std::to_string(i) + " " + std::to_string(port) + "\n";
    return list;
}

} // namespace

TEST_F(UsbPrinterNumberTest, TakesTheDigitBeforeTheMarkerAfterTheModel)
{
    const Case cases[] = {
        {"digit 1", "0 9 QMT-K410 1\n", "QMT-K410", 1},
        {"digit 4", "0 9 QMT-K410 4\n", "QMT-K410", 4},
        {"digit 5", "0 9 QMT-K410 5\n", "QMT-K410", 0},
        {"no port number: no marker", "0 9 QMT-K410 0\n", "QMT-K410", 0},
        {"model absent", "0 9 QMT-K520 2\n", "QMT-K410", 0},
        {"second of two", "0 9 QMT-K410 2\n1 3 QMT-K520 3\n", "QMT-K520", 3},
        {"first of two", "0 9 QMT-K410 2\n1 3 QMT-K520 3\n", "QMT-K410", 2},
        // The first marker after the name decides, even when it is the next
        // printer's.
        {"marker of the next printer", "0 9 QMT-K410 0\n1 3 QMT-K520 3\n", "QMT-K410", 3},
        {"model names are case-sensitive", "0 9 QMT-K410 2\n", "qmt-k410", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NumberOf(c.list, c.model), c.expected) << c.what;
}

// The marker is looked for after the whole name, so an "@" inside a model
// name is not taken for it.
TEST_F(UsbPrinterNumberTest, AModelNameWithAnAtSignFindsItsNumber)
{
    const Case cases[] = {
        {"listed", "0 9 QMT@K410 3\n", "QMT@K410", 3},
        {"ending in @", "0 9 QMT-K410@ 2\n", "QMT-K410@", 2},
        {"not listed", "0 9 QMT-K410 2\n", "QMT@K410", 0},
        {"only an @", "0 9 QMT-K410 2\n", "@", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NumberOf(c.list, c.model), c.expected) << c.what;
}

TEST_F(UsbPrinterNumberTest, BadListsAndNamesGiveNoNumberSilently)
{
    const std::string longModel(900, 'K');
    const Case cases[] = {
        {"empty list", "", "QMT-K410", 0},
        {"only comments", "; no printers\n\n", "QMT-K410", 0},
        {"malformed line", "0 9 QMT-K410 1\nnot a printer\n", "QMT-K410", 0},
        {"port not a digit", "0 9 QMT-K410 x\n", "QMT-K410", 0},
        {"index twice", "0 9 QMT-K410 1\n0 9 QMT-K520 2\n", "QMT-K410", 0},
        {"line longer than the DLL reads", "0 9 " + std::string(1100, 'K') + " 1\n", std::string(1100, 'K'), 0},
        {"empty model name", "0 9 QMT-K410 1\n", "", 0},
        {"model name longer than the list", "0 9 QMT-K410 1\n", std::string(5000, 'Q'), 0},
        {"long model name listed", "0 9 " + longModel + " 2\n", longModel, 2},
        // The list fills the DLL's 1024 bytes with whole entries only.
        {"huge list, first printer", ManyPrinters(3000, 1), "MODEL-0", 1},
        {"huge list, printer beyond the buffer", ManyPrinters(3000, 1), "MODEL-2999", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NumberOf(c.list, c.model), c.expected) << c.what;
}

TEST_F(UsbPrinterNumberTest, WithoutTheListFileThereIsNoPrinter)
{
    EXPECT_EQ(NumberOf("0 9 QMT-K410 1\n", "QMT-K410"), 1);
    ASSERT_TRUE(::DeleteFileA(m_folder.PathOf("UsbPrinters.txt").c_str()));
    EXPECT_EQ(GetUsbPrinterNumber("QMT-K410"), 0);
}

TEST_F(UsbPrinterNumberTest, AMissingDllIsShownAMissingExportIsNot)
{
    ASSERT_TRUE(::DeleteFileA(m_folder.PathOf("USBPrintDll.dll").c_str()));
    std::vector<std::string> boxes;
    EXPECT_EQ(NumberOf("0 9 QMT-K410 1\n", "QMT-K410", &boxes), 0);
    EXPECT_EQ(boxes, std::vector<std::string>{"load library failed!"});

    // Another DLL of the maker under the name: loads, but lacks the export.
    ASSERT_TRUE(::CopyFileA((BuildFolder() + "package\\TvUsbInt.dll").c_str(),
                            m_folder.PathOf("USBPrintDll.dll").c_str(), FALSE));
    EXPECT_EQ(NumberOf("0 9 QMT-K410 1\n", "QMT-K410"), 0);
}
