#pragma once
// A device context as a thin, non-owning view: one call per method.

#include <windows.h>

class CDC {
public:
    CDC() = default;
    explicit CDC(HDC dc) : m_hDC(dc) {}
    virtual ~CDC() = default;

    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }

    HGDIOBJ SelectObject(HGDIOBJ object) const { return ::SelectObject(m_hDC, object); }
    int SetBkMode(int mode) const { return ::SetBkMode(m_hDC, mode); }
    COLORREF SetTextColor(COLORREF color) const { return ::SetTextColor(m_hDC, color); }
    int DrawText(const char* text, int length, LPRECT rect, UINT format) const
    {
        return ::DrawTextA(m_hDC, text, length, rect, format);
    }

    HDC m_hDC = nullptr;
};

// Selects an object into a context for one scope, then puts the previous
// object back, whichever way the scope ends.
class CDCObjectSelection {
public:
    CDCObjectSelection(const CDC& dc, HGDIOBJ object) : m_dc(dc), m_previous(dc.SelectObject(object)) {}
    ~CDCObjectSelection()
    {
        if (m_previous != nullptr && m_previous != HGDI_ERROR)
            m_dc.SelectObject(m_previous);
    }
    CDCObjectSelection(const CDCObjectSelection&) = delete;
    CDCObjectSelection& operator=(const CDCObjectSelection&) = delete;

private:
    const CDC& m_dc;
    HGDIOBJ m_previous;
};
