#include "support/MessageBoxCatcher.h"

#include <algorithm>
#include <chrono>

namespace {

struct Search {
    DWORD processId;
    std::vector<HWND> boxes;
};

BOOL CALLBACK CollectBoxes(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    char className[64] = {};
    ::GetClassNameA(window, className, sizeof(className));
    if (pid == search->processId && std::string(className) == "#32770" && ::IsWindowVisible(window)
        && ::GetDlgItem(window, 0xFFFF) != nullptr)
        search->boxes.push_back(window);
    return TRUE;
}

std::string WindowText(HWND window)
{
    char text[4096] = {};
    ::GetWindowTextA(window, text, sizeof(text));
    return text;
}

} // namespace

MessageBoxCatcher::MessageBoxCatcher(DWORD processId, int answer)
    : m_processId(processId), m_answer(answer), m_thread([this] { Watch(); })
{
}

MessageBoxCatcher::~MessageBoxCatcher()
{
    m_stop = true;
    m_thread.join();
}

std::vector<CaughtMessageBox> MessageBoxCatcher::Boxes() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_boxes;
}

bool MessageBoxCatcher::WaitFor(size_t count, DWORD timeoutMs) const
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        if (Boxes().size() >= count)
            return true;
        ::Sleep(10);
    }
    return Boxes().size() >= count;
}

void MessageBoxCatcher::Watch()
{
    while (!m_stop) {
        Search search{m_processId, {}};
        ::EnumWindows(CollectBoxes, reinterpret_cast<LPARAM>(&search));
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            // Forget boxes that are gone, so that a reused handle is answered again.
            m_answered.erase(std::remove_if(m_answered.begin(), m_answered.end(),
                                            [](HWND w) { return !::IsWindow(w); }),
                             m_answered.end());
        }
        for (HWND box : search.boxes)
            Answer(box);
        ::Sleep(10);
    }
}

void MessageBoxCatcher::Answer(HWND box)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (std::find(m_answered.begin(), m_answered.end(), box) != m_answered.end())
            return;
    }
    CaughtMessageBox caught{WindowText(box), WindowText(::GetDlgItem(box, 0xFFFF))};
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_boxes.push_back(caught);
        m_answered.push_back(box);
    }
    ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(m_answer, BN_CLICKED), 0);
}
