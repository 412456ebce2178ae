#pragma once
// Watches for message boxes of one process, records their caption and text and
// answers each with a button, as a user would.

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct CaughtMessageBox {
    std::string caption;
    std::string text;
};

class MessageBoxCatcher {
public:
    explicit MessageBoxCatcher(DWORD processId = ::GetCurrentProcessId(), int answer = IDOK);
    ~MessageBoxCatcher();

    MessageBoxCatcher(const MessageBoxCatcher&) = delete;
    MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;

    std::vector<CaughtMessageBox> Boxes() const;
    // Waits until count boxes were answered; false after timeoutMs.
    bool WaitFor(size_t count, DWORD timeoutMs = 10000) const;

private:
    void Watch();
    void Answer(HWND box);

    DWORD m_processId;
    int m_answer;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    std::vector<CaughtMessageBox> m_boxes;
    std::vector<HWND> m_answered;
    std::thread m_thread;
};
