#include "platform/mci/CallbackWatch.h"

namespace mci {

void CallbackWatch::Restart(std::uint64_t renderedFrames, Clock::time_point now) {
    m_frames = renderedFrames;
    m_lastProgress = now;
    m_advances = 0;
}

bool CallbackWatch::Gone(std::uint64_t renderedFrames, Clock::time_point now) {
    if (renderedFrames != m_frames) {
        m_frames = renderedFrames;
        m_lastProgress = now;
        if (m_advances < 2)
            ++m_advances;
        return false;
    }
    return now - m_lastProgress >= (Flowing() ? kFlowingLimit : kStartingLimit);
}

} // namespace mci
