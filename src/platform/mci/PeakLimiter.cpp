#include "platform/mci/PeakLimiter.h"

#include <algorithm>
#include <cmath>

namespace mci {

PeakLimiter::PeakLimiter(float ceiling, float releaseFrames)
    : m_ceiling(ceiling), m_release(1.0f - std::exp(-1.0f / releaseFrames)) {}

void PeakLimiter::Process(float* left, float* right, std::size_t frames) {
    for (std::size_t i = 0; i < frames; ++i) {
        const float peak = std::max(std::fabs(left[i]), std::fabs(right[i]));
        const float wanted = peak > m_ceiling ? m_ceiling / peak : 1.0f;
        if (wanted < m_gain)
            m_gain = wanted;
        else
            m_gain += (wanted - m_gain) * m_release;
        left[i] *= m_gain;
        right[i] *= m_gain;
    }
}

} // namespace mci
