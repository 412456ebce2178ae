// The FileVersion text of real files: the USB driver stand-ins, built with a
// version resource, and files without one.

#include "ports/FileVersion.h"

#include "support/SetupFolder.h"
#include "support/SimulatedUsb.h"

#include <gtest/gtest.h>

#include <string>

TEST(GetFileVersionText, ReadsTheVersionResource)
{
    const struct Case {
        std::string path;
        const char* version;
    } cases[] = {
        {BuildFolder() + "package\\USBDRV\\USBDriver_x64\\TVPUSB.sys", "2.0.1.5"},
        {BuildFolder() + "standins\\i686\\TVPUSB.sys", "2.0.1.5"},
        {StandinBuildFile("TVPUSB-2.0.10.0.sys"), "2.0.10.0"},
        {StandinBuildFile("TVPUSB-2.0.1.4.sys"), "2.0.1.4"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetFileVersionText(c.path.c_str()), c.version) << c.path;
}

TEST(GetFileVersionText, AFileWithoutAVersionGivesZeros)
{
    SetupFolder folder;
    folder.Write("empty.sys", "");
    const std::string cases[] = {
        BuildFolder() + "package\\W64\\UNIRES.DLL",          // a DLL without version resource
        BuildFolder() + "package\\USBDRV\\USBDriver\\TVPUSB.INF", // a text
        folder.PathOf("empty.sys"),
        folder.PathOf("missing.sys"),
        "",
        folder.Root() + std::string(5000, 'x') + ".sys",
    };
    for (const std::string& path : cases)
        EXPECT_EQ(GetFileVersionText(path.c_str()), "0.0.0.0") << path.substr(0, 200);
    EXPECT_EQ(GetFileVersionText(nullptr), "0.0.0.0");
}
