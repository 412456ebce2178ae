#pragma once
// The painting context of one WM_PAINT: BeginPaint when made, EndPaint when
// the object goes.

#include "afx/DC.h"
#include "afx/Wnd.h"

class CPaintDC : public CDC {
public:
    explicit CPaintDC(const CWnd& window) : m_hWnd(window.m_hWnd) { m_hDC = ::BeginPaint(m_hWnd, &m_ps); }
    ~CPaintDC() override { ::EndPaint(m_hWnd, &m_ps); }

    PAINTSTRUCT m_ps = {};

private:
    HWND m_hWnd;
};
