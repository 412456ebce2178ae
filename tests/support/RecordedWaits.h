#pragma once
// Replaces the program's waits (g_platformApi.sleep) for one scope: every wait
// is recorded and passes in at most a few real milliseconds, so that tests
// need not wait while Wine's service manager still gets a moment.

#include <windows.h>

#include <functional>
#include <vector>

class RecordedWaits {
public:
    explicit RecordedWaits(DWORD maxRealMs = 0);
    ~RecordedWaits();

    RecordedWaits(const RecordedWaits&) = delete;
    RecordedWaits& operator=(const RecordedWaits&) = delete;

    std::vector<DWORD> Waits() const;
    void Clear();

    // Called at every wait, on the waiting thread, before it passes.
    void OnWait(std::function<void(DWORD milliseconds)> action);

private:
    void(WINAPI* m_saved)(DWORD);
};
