#pragma once
// A setup folder laid out in a temporary directory, which becomes the folder of
// the running program for as long as the object lives: each test describes the
// package it needs in a few lines.

#include <windows.h>

#include <string>
#include <vector>

class SetupFolder {
public:
    SetupFolder();
    // A folder whose executable path is padded to the given length (the files
    // go to a real, shorter folder; only the program's own path is long).
    explicit SetupFolder(size_t programPathLength);
    ~SetupFolder();

    SetupFolder(const SetupFolder&) = delete;
    SetupFolder& operator=(const SetupFolder&) = delete;

    // The folder, with a trailing backslash.
    const std::string& Root() const { return m_root; }
    std::string PathOf(const std::string& relative) const { return m_root + relative; }
    // Path of the executable as the program sees it.
    const std::string& ProgramPath() const { return m_programPath; }

    // Writes a file (creating its folders).
    void Write(const std::string& relative, const std::string& content) const;
    // Sets one INI value.
    void Set(const std::string& relative, const std::string& section, const std::string& key,
             const std::string& value) const;
    // setup.ini's DEVICENUMBER and DEVICENAME1..n.
    void Catalogue(const std::vector<std::string>& entries) const;
    // A language file with the text "<section>/<key>" for every key named.
    void Language(const std::vector<std::pair<std::string, std::string>>& keys) const;
    // The built demo package's files.
    void CopyDemoPackage() const;

private:
    void BecomeProgramFolder();

    std::string m_root;
    std::string m_programPath;
    DWORD(WINAPI* m_savedGetModuleFileName)(HMODULE, LPSTR, DWORD) = nullptr;
};

// Windows path of a path on the build machine (Wine maps / to Z:\).
std::string WindowsPathOfHostPath(const std::string& hostPath);
// The build's folder as a Windows path, with a trailing backslash.
std::string BuildFolder();
