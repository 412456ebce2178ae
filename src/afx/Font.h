#pragma once
// A font owned by the program (CreateFontA); deleted with the object.

#include "afx/GdiObject.h"

class CFont : public CGdiObject {
public:
    HFONT GetSafeHandle() const { return static_cast<HFONT>(m_hObject); }
    operator HFONT() const { return GetSafeHandle(); }

    // CreateFontA with the same parameters; a font held so far is deleted
    // first. False when the system made no font.
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                    BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                    BYTE quality, BYTE pitchAndFamily, const char* faceName);
    BOOL CreateFontIndirect(const LOGFONTA* font);
};
