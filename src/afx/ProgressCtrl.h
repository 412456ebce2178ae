#pragma once
// A progress bar control (msctls_progress32) as a thin view.

#include "afx/Wnd.h"

#include <commctrl.h>

class CProgressCtrl : public CWnd {
public:
    void SetRange(short lower, short upper) const { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(lower, upper)); }
    void SetRange32(int lower, int upper) const { SendMessage(PBM_SETRANGE32, lower, upper); }
    void GetRange(int& lower, int& upper) const
    {
        PBRANGE range = {};
        SendMessage(PBM_GETRANGE, 0, reinterpret_cast<LPARAM>(&range));
        lower = range.iLow;
        upper = range.iHigh;
    }
    // Returns the previous position.
    int SetPos(int position) const { return static_cast<int>(SendMessage(PBM_SETPOS, position)); }
    int GetPos() const { return static_cast<int>(SendMessage(PBM_GETPOS)); }
    int OffsetPos(int offset) const { return static_cast<int>(SendMessage(PBM_DELTAPOS, offset)); }
    int SetStep(int step) const { return static_cast<int>(SendMessage(PBM_SETSTEP, step)); }
    int StepIt() const { return static_cast<int>(SendMessage(PBM_STEPIT)); }
};
