#pragma once
// Takes back, when it goes, what an installation added to the Wine session
// while it lived: printer queues, printer drivers, monitors, print processor
// keys, files in the system, wbem, printer driver (and its "3"), print
// processor and inf folders, the serial port settings, the maker's SOFTWARE\TALVORN
// key and the default printer. The Spooler service is left running.

#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <vector>

class SystemChanges {
public:
    SystemChanges();
    ~SystemChanges();

    SystemChanges(const SystemChanges&) = delete;
    SystemChanges& operator=(const SystemChanges&) = delete;

private:
    struct Folder {
        std::string path;
        bool existed;
        std::set<std::string> names; // upper-cased
    };
    struct Value {
        DWORD type;
        std::vector<BYTE> data;
    };

    std::vector<Folder> m_folders;
    std::set<std::string> m_queues;
    std::set<std::string> m_drivers;
    std::set<std::string> m_monitors;
    std::map<std::string, std::set<std::string>> m_processors; // environment key -> processors
    std::set<std::string> m_environmentKeys;                    // that existed
    std::map<std::string, Value> m_ports;
    bool m_talvornExisted = false;
    std::string m_defaultPrinter;
};

// Folders of the Wine session, without trailing backslashes.
std::string SystemFolderPath();
std::string DriverFolderPath();
std::string ProcessorFolderPath();

// Names of the local printer queues and printer drivers.
std::set<std::string> QueueNames();
std::set<std::string> DriverNames();
