#include "wizard/UiFont.h"

CFont g_uiFont;

void ApplyFontToWindowAndChildren(const CWnd& window, HFONT font)
{
    window.SetFont(font, TRUE);
    for (HWND child = window.GetWindow(GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
        CWnd(child).SetFont(font, TRUE);
}
