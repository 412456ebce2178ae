#include "support/RecordedWaits.h"

#include "platform/PlatformApi.h"

#include <algorithm>
#include <mutex>

namespace {

std::mutex g_mutex;
std::vector<DWORD> g_waits;
DWORD g_maxRealMs = 0;
std::function<void(DWORD)> g_action;

void WINAPI RecordWait(DWORD milliseconds)
{
    std::function<void(DWORD)> action;
    DWORD real = 0;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        g_waits.push_back(milliseconds);
        action = g_action;
        real = std::min(milliseconds, g_maxRealMs);
    }
    if (action)
        action(milliseconds);
    if (real > 0)
        ::Sleep(real);
}

} // namespace

RecordedWaits::RecordedWaits(DWORD maxRealMs) : m_saved(g_platformApi.sleep)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_waits.clear();
    g_maxRealMs = maxRealMs;
    g_action = nullptr;
    g_platformApi.sleep = RecordWait;
}

RecordedWaits::~RecordedWaits()
{
    g_platformApi.sleep = m_saved;
    std::lock_guard<std::mutex> lock(g_mutex);
    g_action = nullptr;
}

std::vector<DWORD> RecordedWaits::Waits() const
{
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_waits;
}

void RecordedWaits::Clear()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_waits.clear();
}

void RecordedWaits::OnWait(std::function<void(DWORD)> action)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_action = std::move(action);
}
