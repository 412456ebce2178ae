#include "afx/Font.h"

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                       BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                       BYTE quality, BYTE pitchAndFamily, const char* faceName)
{
    Attach(::CreateFontA(height, width, escapement, orientation, weight, italic, underline, strikeOut, charSet,
                         outPrecision, clipPrecision, quality, pitchAndFamily, faceName));
    return m_hObject != nullptr;
}

BOOL CFont::CreateFontIndirect(const LOGFONTA* font)
{
    Attach(::CreateFontIndirectA(font));
    return m_hObject != nullptr;
}
