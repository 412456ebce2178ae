#pragma once
// Counts, for one scope, the Spooler service's start and stop requests that
// the program makes; the requests still go to the real service manager.

#include "install/SpoolerService.h"

class CountedServiceCalls {
public:
    CountedServiceCalls();
    ~CountedServiceCalls();
    CountedServiceCalls(const CountedServiceCalls&) = delete;
    CountedServiceCalls& operator=(const CountedServiceCalls&) = delete;

    int Starts() const;
    int Stops() const;

private:
    ServiceApi m_saved;
};

// The Spooler's state asked directly (0 when it cannot be asked).
DWORD SpoolerState();
// Starts the Spooler when it does not run and waits until it does.
bool EnsureSpoolerRunning();
