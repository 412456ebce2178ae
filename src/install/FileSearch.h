#pragma once
// Owner of one file search (FindFirstFileA ... FindClose): the search is
// closed exactly once, by Close or when the owner goes.

#include <windows.h>

#include <string>

class FileSearch {
public:
    FileSearch() = default;
    ~FileSearch() { Close(); }

    FileSearch(const FileSearch&) = delete;
    FileSearch& operator=(const FileSearch&) = delete;

    // Starts a search for the pattern, closing any earlier one. False when
    // nothing matches; the thread's last error then says why.
    bool First(const std::string& pattern)
    {
        Close();
        m_handle = ::FindFirstFileA(pattern.c_str(), &m_found);
        return m_handle != INVALID_HANDLE_VALUE;
    }
    bool Next() { return m_handle != INVALID_HANDLE_VALUE && ::FindNextFileA(m_handle, &m_found) != FALSE; }

    // The entry found last.
    const WIN32_FIND_DATAA& Found() const { return m_found; }

    // False when the system refused to close the search; no open search
    // counts as closed.
    bool Close()
    {
        if (m_handle == INVALID_HANDLE_VALUE)
            return true;
        const BOOL closed = ::FindClose(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
        return closed != FALSE;
    }

private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAA m_found = {};
};
