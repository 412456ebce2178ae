#include "afx/Wnd.h"

#include "afx/Font.h"

#include <vector>

std::string CWnd::GetWindowText() const
{
    const int length = ::GetWindowTextLengthA(m_hWnd);
    if (length <= 0)
        return std::string();
    std::vector<char> text(static_cast<size_t>(length) + 1);
    const int copied = ::GetWindowTextA(m_hWnd, text.data(), length + 1);
    return std::string(text.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

void CWnd::SetFont(const CFont* font, BOOL redraw) const
{
    SetFont(font != nullptr ? font->GetSafeHandle() : nullptr, redraw);
}
