#pragma once
// Programs of the Linux machine that Wine runs the tests on, started from the
// test process (Wine starts Unix executables as it starts Windows ones): the
// cabinet maker gcab and chattr, which makes a file unwritable even for root.

#include <string>
#include <vector>

// The Unix path of a Windows path; empty when Wine does not map it.
std::string UnixPathOf(const std::string& windowsPath);

// Runs the Unix program (its path first, then its arguments) and waits for
// it. The exit code, or -1 when it did not start or did not end in a minute.
// Wine gives no process handle for a Unix program, so the program runs under
// /bin/sh, which leaves its exit code in a file when it ends.
int RunHostCommand(const std::vector<std::string>& arguments);

// Makes a cabinet (no compression) of the files; each member is named after
// its file's name. False when gcab failed or is missing.
bool MakeCabinet(const std::string& cabinetPath, const std::vector<std::string>& files);

// A file that nobody may write or delete, root included, while the object
// lives ("chattr +i"); Windows callers get ERROR_ACCESS_DENIED.
class ImmutableFile {
public:
    explicit ImmutableFile(const std::string& windowsPath);
    ~ImmutableFile();
    ImmutableFile(const ImmutableFile&) = delete;
    ImmutableFile& operator=(const ImmutableFile&) = delete;

    // False when the machine refused (not root, or a file system without the flag).
    bool Made() const { return m_made; }

private:
    std::string m_unixPath;
    bool m_made = false;
};
