#include "platform/midi/TempoMap.h"

#include <algorithm>
#include <limits>

namespace midi {

namespace {

using u128 = unsigned __int128;

// Most songs stay far below 2^64 in the numerator; the 64-bit division is several times faster
// than the 128-bit one and gives the same result there.
std::uint64_t Divide(u128 numerator, std::uint64_t denominator) {
    if ((numerator >> 64) == 0)
        return static_cast<std::uint64_t>(numerator) / denominator;
    const u128 quotient = numerator / denominator;
    return quotient > std::numeric_limits<std::uint64_t>::max() ? std::numeric_limits<std::uint64_t>::max()
                                                                : static_cast<std::uint64_t>(quotient);
}

} // namespace

TempoMap::TempoMap() : m_segments(1, Segment{0, 0, kDefaultMicrosPerQuarter}) {}

TempoMap TempoMap::ForTicksPerQuarter(std::uint32_t ticksPerQuarter) {
    TempoMap map;
    map.m_denominator = std::max<std::uint32_t>(ticksPerQuarter, 1);
    return map;
}

TempoMap TempoMap::ForSmpte(std::uint32_t framesPerSecond, std::uint32_t ticksPerFrame) {
    framesPerSecond = std::max<std::uint32_t>(framesPerSecond, 1);
    ticksPerFrame = std::max<std::uint32_t>(ticksPerFrame, 1);
    TempoMap map;
    map.m_smpte = true;
    if (framesPerSecond == 29) {
        // "29" is 30-frame drop-frame timecode, which runs at 30000/1001 frames per second.
        map.m_denominator = std::uint64_t{30} * ticksPerFrame;
        map.m_segments.assign(1, Segment{0, 0, 1001000});
    } else {
        map.m_denominator = std::uint64_t{framesPerSecond} * ticksPerFrame;
        map.m_segments.assign(1, Segment{0, 0, 1000000});
    }
    return map;
}

void TempoMap::AddTempoChange(std::uint64_t tick, std::uint32_t microsPerQuarter) {
    microsPerQuarter = std::max<std::uint32_t>(microsPerQuarter, 1);
    if (!m_changes.empty() && tick < m_changes.back().tick)
        tick = m_changes.back().tick;
    if (!m_changes.empty() && m_changes.back().tick == tick)
        m_changes.back().microsPerQuarter = microsPerQuarter;
    else
        m_changes.push_back(Change{tick, microsPerQuarter});
    if (m_smpte)
        return;

    Segment& last = m_segments.back();
    if (tick <= last.tick) {
        last.rate = microsPerQuarter;
        // A replaced segment may now have the same rate as the one before it; merging them keeps
        // the lookups short and changes no result.
        if (m_segments.size() > 1 && m_segments[m_segments.size() - 2].rate == last.rate)
            m_segments.pop_back();
        return;
    }
    if (last.rate == microsPerQuarter)
        return;
    const u128 start = last.start + static_cast<u128>(tick - last.tick) * last.rate;
    m_segments.push_back(Segment{tick, start, microsPerQuarter});
}

const TempoMap::Segment& TempoMap::SegmentAt(std::uint64_t tick) const {
    // Times are mostly asked in play order, at or after the last change.
    if (tick >= m_segments.back().tick)
        return m_segments.back();
    auto it = std::upper_bound(m_segments.begin(), m_segments.end(), tick,
                               [](std::uint64_t t, const Segment& s) { return t < s.tick; });
    return *(it - 1);
}

unsigned __int128 TempoMap::NumeratorAt(std::uint64_t tick) const {
    const Segment& s = SegmentAt(tick);
    return s.start + static_cast<u128>(tick - s.tick) * s.rate;
}

std::uint64_t TempoMap::MicrosAt(std::uint64_t tick) const {
    return Divide(NumeratorAt(tick), m_denominator);
}

std::uint64_t TempoMap::FrameAt(std::uint64_t tick, std::uint32_t sampleRate) const {
    const u128 numerator = NumeratorAt(tick) * sampleRate;
    const u128 denominator = static_cast<u128>(m_denominator) * 1000000u;
    const u128 frame = numerator / denominator;
    return frame > std::numeric_limits<std::uint64_t>::max() ? std::numeric_limits<std::uint64_t>::max()
                                                             : static_cast<std::uint64_t>(frame);
}

std::uint64_t TempoMap::TickAtMicros(std::uint64_t micros) const {
    // MicrosAt(t) <= micros exactly when the numerator at t is at most this bound.
    const u128 bound = (static_cast<u128>(micros) + 1) * m_denominator - 1;
    auto it = std::upper_bound(m_segments.begin(), m_segments.end(), bound,
                               [](u128 b, const Segment& s) { return b < s.start; });
    const Segment& s = *(it - 1);
    const u128 tick = s.tick + (bound - s.start) / s.rate;
    return tick > std::numeric_limits<std::uint64_t>::max() ? std::numeric_limits<std::uint64_t>::max()
                                                            : static_cast<std::uint64_t>(tick);
}

std::uint32_t TempoMap::MicrosPerQuarterAt(std::uint64_t tick) const {
    auto it = std::upper_bound(m_changes.begin(), m_changes.end(), tick,
                               [](std::uint64_t t, const Change& c) { return t < c.tick; });
    return it == m_changes.begin() ? kDefaultMicrosPerQuarter : (it - 1)->microsPerQuarter;
}

} // namespace midi
