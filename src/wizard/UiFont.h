#pragma once
// The interface font of the wizard's windows when the language needs its own
// (Chinese) font: empty until the wizard frame creates it.

#include "afx/Font.h"
#include "afx/Wnd.h"

extern CFont g_uiFont;

// Sends the font (redraw on) to the window, then to each of its child windows
// in turn: the first child, then every next sibling.
void ApplyFontToWindowAndChildren(const CWnd& window, HFONT font);
