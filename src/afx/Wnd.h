#pragma once
// A window as the class layer sees it: a thin, non-owning view of one HWND.
// Dialogs and controls derive from it; every method is one call of the
// window functions, so the view never outlives or destroys what it names
// unless DestroyWindow is asked for.

#include <windows.h>

#include <string>

class CFont;

class CWnd {
public:
    CWnd() = default;
    explicit CWnd(HWND window) : m_hWnd(window) {}
    virtual ~CWnd() = default;

    // Two views of one window would go out of step when one re-attaches.
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }
    void Attach(HWND window) { m_hWnd = window; }
    HWND Detach()
    {
        HWND window = m_hWnd;
        m_hWnd = nullptr;
        return window;
    }

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageA(m_hWnd, message, wParam, lParam);
    }

    // The child window with the id; a window handle, not a view object, so
    // that no temporary objects need managing.
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    HWND GetWindow(UINT relation) const { return ::GetWindow(m_hWnd, relation); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }

    BOOL ShowWindow(int command) const { return ::ShowWindow(m_hWnd, command); }
    BOOL EnableWindow(BOOL enable = TRUE) const { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags) const
    {
        return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags);
    }
    BOOL DestroyWindow() { return ::DestroyWindow(m_hWnd); }

    BOOL SetWindowText(const char* text) const { return ::SetWindowTextA(m_hWnd, text); }
    std::string GetWindowText() const;

    BOOL GetClientRect(LPRECT rect) const { return ::GetClientRect(m_hWnd, rect); }
    BOOL Invalidate(BOOL erase = TRUE) const { return ::InvalidateRect(m_hWnd, nullptr, erase); }
    BOOL UpdateWindow() const { return ::UpdateWindow(m_hWnd); }

    void SetFont(HFONT font, BOOL redraw = TRUE) const
    {
        ::SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), MAKELPARAM(redraw, 0));
    }
    void SetFont(const CFont* font, BOOL redraw = TRUE) const;
    HFONT GetFont() const { return reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0)); }

    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr) const
    {
        return ::SetTimer(m_hWnd, id, elapse, proc);
    }
    BOOL KillTimer(UINT_PTR id) const { return ::KillTimer(m_hWnd, id); }

    HWND m_hWnd = nullptr;
};
