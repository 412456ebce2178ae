#pragma once
// Runs a step with the WOW64 file-system redirection off, so that the 32-bit
// installer on 64-bit Windows reaches the native system folders. On 32-bit
// Windows the step just runs.

#include <functional>

enum class FsGuardForm {
    // Failures make the calling operation fail without a text (file copies).
    Silent,
    // Failures are shown in message boxes (registry marks, USB driver checks).
    Reporting,
};

// Returns the step's result, or 0 when the step did not run because the guard
// could not be set up: Kernel32.dll did not load (both forms), or, in the
// silent form, the redirection could not be turned off. A missing redirection
// function is never called; without the disable function the step runs with
// the redirection as it is (the reporting form says so in a message box).
int FsRedirectionGuard(FsGuardForm form, const std::function<int()>& step);
