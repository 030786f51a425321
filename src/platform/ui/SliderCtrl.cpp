#include "platform/ui/SliderCtrl.h"

#include <algorithm>

void CSliderCtrl::SetRange(int minimum, int maximum, bool) {
    m_min = minimum;
    m_max = maximum;
    m_pos = Clamp(m_pos);
    Notify(ControlChange::Value);
}

void CSliderCtrl::SetRangeMin(int minimum, bool redraw) {
    SetRange(minimum, m_max, redraw);
}

void CSliderCtrl::SetRangeMax(int maximum, bool redraw) {
    SetRange(m_min, maximum, redraw);
}

void CSliderCtrl::SetPos(int position) {
    m_pos = Clamp(position);
    Notify(ControlChange::Value);
}

void CSliderCtrl::SetPageSize(int size) {
    m_pageSize = size;
    Notify(ControlChange::Value);
}

void CSliderCtrl::SetTicFreq(int frequency) {
    m_ticFreq = frequency;
    Notify(ControlChange::Value);
}

int CSliderCtrl::Clamp(int position) const {
    // A maximum below the minimum is how Windows leaves a range the application set that way;
    // the thumb then sits at the minimum.
    return std::max(m_min, std::min(position, std::max(m_min, m_max)));
}
