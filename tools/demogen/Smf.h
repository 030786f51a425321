#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A small writer of Standard MIDI Files: tracks of timed events, the file around them, and the RIFF
// "RMID" wrapper. It writes exactly what it is told and checks what would make a broken file.

namespace demogen {

using Bytes = std::vector<std::uint8_t>;

struct EncodeOptions {
    // Leave out a channel status byte that repeats the previous one, as most sequencers do.
    bool runningStatus = false;
    // Write note-offs as note-ons with velocity 0, which runs well with running status.
    bool noteOffAsZeroVelocity = false;
};

class Track {
public:
    explicit Track(std::string_view name);

    void Text(std::uint32_t tick, std::string_view text);     // meta FF 01
    void Lyric(std::uint32_t tick, std::string_view text);    // meta FF 05
    void Tempo(std::uint32_t tick, double quartersPerMinute); // meta FF 51
    void TimeSignature(std::uint32_t tick, int numerator, int denominator);
    void KeySignature(std::uint32_t tick, int sharps, bool minor);
    // `body` is everything after the F0 status byte, ending with F7.
    void SysEx(std::uint32_t tick, const Bytes& body);
    void Program(std::uint32_t tick, int channel, int program);
    void Control(std::uint32_t tick, int channel, int controller, int value);
    void Note(std::uint32_t tick, std::uint32_t length, int channel, int key, int velocity);
    // The end-of-track event goes no earlier than `tick`, so a last chord can ring out.
    void EndAtLeast(std::uint32_t tick);
    // Takes over every event of `other` except its name: how a format 0 file is made.
    void Absorb(const Track& other);

    std::uint32_t EndTick() const;
    // The whole "MTrk" chunk.
    Bytes Encode(const EncodeOptions& options) const;

private:
    // Events on the same tick are written in this order: the name first, then other meta events,
    // system exclusive, program and controller changes, note-offs, note-ons. Note-offs before
    // note-ons lets a repeated key sound again instead of being cut by the previous note's end.
    enum Rank { kName, kMeta, kSysEx, kSetup, kNoteOff, kNoteOn };
    struct Event {
        std::uint32_t tick;
        Rank rank;
        std::size_t order;
        Bytes bytes;
    };

    void Add(std::uint32_t tick, Rank rank, Bytes bytes);
    void Meta(std::uint32_t tick, Rank rank, std::uint8_t type, std::string_view data);
    void CheckNoOverlappingNotes() const;

    std::vector<Event> m_events;
    std::uint32_t m_end = 0;
};

void AppendVarLen(Bytes& out, std::uint32_t value);

// format 0 takes exactly one track; format 1 takes the conductor track first.
Bytes WriteSmf(int format, int ticksPerQuarter, const std::vector<Track>& tracks,
               const EncodeOptions& options);

// "RIFF" <size> "RMID" "data" <size> <SMF> with a pad byte when the SMF's length is odd.
Bytes WrapInRmid(const Bytes& smf);

} // namespace demogen
