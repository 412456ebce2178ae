#include "install/FsRedirectionGuard.h"

#include "afx/AfxWin.h"
#include "platform/Handles.h"
#include "platform/PlatformApi.h"
#include "platform/Wow64.h"

#include <windows.h>

namespace {

using DisableFn = BOOL(WINAPI*)(PVOID*);
using RevertFn = BOOL(WINAPI*)(PVOID);

template <typename Fn>
Fn Lookup(HMODULE module, const char* name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(g_platformApi.getProcAddress(module, name)));
}

// Turns the redirection back on when the step is over, however it ends. The
// revert function is looked up only then, as a caller of the guard expects.
class RedirectionRevert {
public:
    RedirectionRevert(HMODULE kernel, FsGuardForm form, PVOID oldState)
        : m_kernel(kernel), m_form(form), m_oldState(oldState)
    {
    }
    ~RedirectionRevert()
    {
        auto revert = Lookup<RevertFn>(m_kernel, "Wow64RevertWow64FsRedirection");
        if (revert == nullptr) {
            if (m_form == FsGuardForm::Reporting)
                AfxMessageBox("Can't Get Function Wow64RevertWow64FsRedirection Address", MB_OK);
            return;
        }
        revert(m_oldState);
    }
    RedirectionRevert(const RedirectionRevert&) = delete;
    RedirectionRevert& operator=(const RedirectionRevert&) = delete;

private:
    HMODULE m_kernel;
    FsGuardForm m_form;
    PVOID m_oldState;
};

} // namespace

int FsRedirectionGuard(FsGuardForm form, const std::function<int()>& step)
{
    if (!g_bWow64)
        return step();

    const bool reporting = form == FsGuardForm::Reporting;
    ModuleHandle kernel(g_platformApi.loadLibrary("Kernel32.dll"));
    if (!kernel) {
        if (reporting)
            AfxMessageBox("Can't Load Kernel32.dll", MB_OK);
        return 0;
    }

    auto disable = Lookup<DisableFn>(kernel.Get(), "Wow64DisableWow64FsRedirection");
    if (disable == nullptr) {
        if (reporting)
            AfxMessageBox("Can't Get Function Wow64DisableWow64FsRedirection Address", MB_OK);
        return step();
    }

    PVOID oldState = nullptr;
    // A silent copy into the redirected folder would be worse than no copy; the
    // reporting form's steps go on either way.
    if (!disable(&oldState) && !reporting)
        return 0;
    RedirectionRevert revert(kernel.Get(), form, oldState);
    return step();
}
