#pragma once

// The tick-to-time map of one song. Times are kept as exact rationals: the elapsed time at a tick
// is (sum over tempo segments of ticks * microseconds-per-tick-numerator) / denominator, with the
// sum held in 128 bits, so a song with thousands of tempo changes lands on the same microsecond
// (and the same sample frame) as a single segment of the same length would. Every conversion
// rounds down exactly once.

#include <cstdint>
#include <vector>

namespace midi {

class TempoMap {
public:
    // The default tempo of a Standard MIDI File: 500,000 microseconds per quarter note (120 bpm).
    static constexpr std::uint32_t kDefaultMicrosPerQuarter = 500000;

    struct Change {
        std::uint64_t tick;
        std::uint32_t microsPerQuarter;
    };

    // Metrical time: ticksPerQuarter ticks to a quarter note, tempo changes apply.
    static TempoMap ForTicksPerQuarter(std::uint32_t ticksPerQuarter);
    // Timecode: a fixed tick length; framesPerSecond is 24, 25, 29 (30 drop-frame, 29.97 frames
    // per second) or 30, though any positive value is accepted. Tempo changes are ignored.
    static TempoMap ForSmpte(std::uint32_t framesPerSecond, std::uint32_t ticksPerFrame);

    // A 120 bpm map of 96 ticks per quarter, so a default-constructed song is still usable.
    TempoMap();

    // Changes must come in non-decreasing tick order; a later change at the same tick replaces the
    // earlier one. A tempo of 0 is taken as 1 so that time always moves on.
    void AddTempoChange(std::uint64_t tick, std::uint32_t microsPerQuarter);

    std::uint64_t MicrosAt(std::uint64_t tick) const;
    // The sample frame at which the tick falls, at the given sample rate: floor(time * rate).
    std::uint64_t FrameAt(std::uint64_t tick, std::uint32_t sampleRate) const;
    // The last tick that starts at or before the given time (the tick a seek to that time lands on).
    std::uint64_t TickAtMicros(std::uint64_t micros) const;
    // Microseconds per quarter note in effect at the tick (the file's tempo, also under SMPTE).
    std::uint32_t MicrosPerQuarterAt(std::uint64_t tick) const;

    bool IsSmpte() const { return m_smpte; }
    // The tempo changes as given (after replacement of same-tick duplicates), in tick order.
    const std::vector<Change>& Changes() const { return m_changes; }

private:
    struct Segment {
        std::uint64_t tick;      // first tick of the segment
        unsigned __int128 start; // numerator of the elapsed time at that tick
        std::uint64_t rate;      // numerator added per tick
    };

    const Segment& SegmentAt(std::uint64_t tick) const;
    unsigned __int128 NumeratorAt(std::uint64_t tick) const;

    bool m_smpte = false;
    std::uint64_t m_denominator = 96; // time in microseconds = numerator / m_denominator
    std::vector<Segment> m_segments;  // never empty; the first starts at tick 0
    std::vector<Change> m_changes;
};

} // namespace midi
