#pragma once

#include "platform/ui/Control.h"

// A trackbar. The range, page size and tick frequency are the application's; the position is
// clamped into the range as the Windows control does.
class CSliderCtrl : public CControl {
public:
    using CControl::CControl;

    void SetRange(int minimum, int maximum, bool redraw = false);
    void SetRangeMin(int minimum, bool redraw = false);
    void SetRangeMax(int maximum, bool redraw = false);
    int GetRangeMin() const { return m_min; }
    int GetRangeMax() const { return m_max; }
    void SetPos(int position);
    int GetPos() const { return m_pos; }
    void SetPageSize(int size);
    int GetPageSize() const { return m_pageSize; }
    void SetTicFreq(int frequency);
    int GetTicFreq() const { return m_ticFreq; }

    // The view reports where the user moved the thumb.
    void PositionSetByUser(int position) { m_pos = Clamp(position); }

private:
    int Clamp(int position) const;

    int m_min = 0;
    int m_max = 100;
    int m_pos = 0;
    int m_pageSize = 20;
    int m_ticFreq = 1;
};
