#pragma once
// Simulated USB hardware for the tests of the USB operations: devices that the
// Setup API's enumeration really reports, and the stand-ins of the maker's USB
// components with their simulated printer list.

#include "support/SetupFolder.h"

#include <string>
#include <vector>

// USB devices in the registry of the Wine session, listed by
// SetupDiGetClassDevsA as present from the moment they are added; removed
// again when the object goes (and left-overs of an earlier run when it is
// made).
class SimulatedUsbDevices {
public:
    SimulatedUsbDevices();
    ~SimulatedUsbDevices();
    SimulatedUsbDevices(const SimulatedUsbDevices&) = delete;
    SimulatedUsbDevices& operator=(const SimulatedUsbDevices&) = delete;

    // A device under Enum\USB\<device>\<instance>, with these hardware ids
    // (none: no HardwareID value). Devices are enumerated in the order of
    // their key names.
    void Add(const std::string& device, const std::string& instance, const std::vector<std::string>& hardwareIds);
    // A device of the maker's vendor id with this product id (four hex
    // digits), its ids as Windows writes them.
    void AddMakerDevice(const std::string& productId, const std::string& instance);

private:
    bool m_createdUsbKey = false;
    // Keys to delete, in the order they were made.
    std::vector<std::string> m_keys;
};

// The maker's USB driver file in the system's drivers folder, for one scope:
// made from a copy of source (empty: no driver installed), and removed again
// when the object goes, also when a started installer put it there.
class InstalledUsbDriver {
public:
    explicit InstalledUsbDriver(const std::string& source = std::string());
    ~InstalledUsbDriver();
    InstalledUsbDriver(const InstalledUsbDriver&) = delete;
    InstalledUsbDriver& operator=(const InstalledUsbDriver&) = delete;

    static std::string Path();
};

// Copies source (a full path) into folder as relative, making its folders.
void CopyIntoFolder(const SetupFolder& folder, const std::string& relative, const std::string& source);

// Copies files of the built demo package (paths relative to it) into folder.
void CopyPackageFiles(const SetupFolder& folder, const std::vector<std::string>& files);

// Path of a stand-in that the build keeps beside its package (the
// architecture of the test process).
std::string StandinBuildFile(const std::string& name);

// The text of a file, empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);

// Waits until the file holds at least lines complete lines; false after
// timeoutMs. For records that a started program writes.
bool WaitForLines(const std::string& path, size_t lines, unsigned timeoutMs = 10000);

// The lines of a file, without their line breaks.
std::vector<std::string> ReadLines(const std::string& path);
