#pragma once

// Builds Standard MIDI Files byte by byte for the tests, so that every song they play has events
// at ticks and tempos the test chooses.

#include <cstdint>
#include <string>
#include <vector>

namespace mcitest {

using Bytes = std::vector<std::uint8_t>;

class SmfBuilder {
public:
    SmfBuilder(int format, std::uint16_t division) : m_format(format), m_division(division) {}

    // Adds a track; events may be added in any order, they are sorted by tick (stable).
    int AddTrack();
    SmfBuilder& Add(int track, std::uint64_t tick, Bytes bytes);
    // The end-of-track event goes at this tick, or at the track's last event when not given.
    SmfBuilder& EndAt(int track, std::uint64_t tick);

    Bytes Build() const;
    void WriteTo(const std::string& path) const;

private:
    struct Track {
        std::vector<std::pair<std::uint64_t, Bytes>> events;
        std::uint64_t end = 0;
    };
    int m_format;
    std::uint16_t m_division;
    std::vector<Track> m_tracks;
};

Bytes NoteOn(int channel, int key, int velocity);
Bytes NoteOff(int channel, int key);
Bytes Control(int channel, int controller, int value);
Bytes Program(int channel, int program);
Bytes PitchBend(int channel, int value14);
Bytes Pressure(int channel, int value);
Bytes Tempo(std::uint32_t microsPerQuarter);
// An F0 event with its length: the body, then F7 when complete.
Bytes Sysex(const Bytes& body, bool complete = true);
// An F7 escape event with its length.
Bytes Escape(const Bytes& bytes);

} // namespace mcitest
