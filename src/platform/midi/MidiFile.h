#pragma once

// Our Standard MIDI File reader: formats 0, 1 and 2, PPQN and SMPTE divisions, the RIFF "RMID"
// wrapper of .rmi files, .kar lyrics. It is as lenient as the most tolerant players with files that
// are commonly wrong, and never trusts a length or count the file gives: every read is
// bounds-checked, every loop moves forward through the bytes, and memory stays within a small
// multiple of the file's size (each event takes at least two bytes of the file and 32 bytes here,
// so at most 16 times the file for events, plus at most the file's size for payloads).

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/midi/ReadError.h"
#include "platform/midi/Result.h"
#include "platform/midi/TempoMap.h"

namespace midi {

// Files above this size are refused as TooLarge before anything is allocated for them.
inline constexpr std::size_t kMaxFileSize = std::size_t{64} << 20;

struct Event {
    std::uint64_t tick = 0;   // absolute tick; in format 2 the tracks are placed one after another
    std::uint64_t micros = 0; // start time in microseconds (rounded down), from the tempo map
    // Data bytes in Song::payload: for meta events their data; for F0 sysex the bytes after F0
    // without a final F7 (as a synthesiser's sysex call wants them); for F7 events their bytes as
    // they are (continuation packets or escaped messages).
    std::uint32_t payloadOffset = 0, payloadSize = 0;
    std::uint16_t track = 0; // index of the MTrk chunk, from 0
    std::uint8_t status = 0; // 0x80..0xEF channel message; 0xF0 or 0xF7 sysex; 0xFF meta
    std::uint8_t data1 = 0;  // channel: first data byte; meta: its type; F0 sysex: 1 if it ended in F7
    std::uint8_t data2 = 0;  // channel: second data byte (0 for C0..DF)
    // 0 when the event is one of the note-offs that open its track's events at this tick, else 1.
    // Such note-offs play before every other event of the tick (see PlaysBefore).
    std::uint8_t phase = 1;

    bool IsChannel() const { return status >= 0x80 && status < 0xF0; }
    bool IsMeta() const { return status == 0xFF; }
    bool IsSysex() const { return status == 0xF0 || status == 0xF7; }
    bool IsNoteOff() const { return (status & 0xF0) == 0x80 || ((status & 0xF0) == 0x90 && data2 == 0); }
};

// Meta event types the player and tools look at.
namespace meta {
inline constexpr std::uint8_t kText = 0x01;
inline constexpr std::uint8_t kTrackName = 0x03;
inline constexpr std::uint8_t kLyric = 0x05;
inline constexpr std::uint8_t kEndOfTrack = 0x2F;
inline constexpr std::uint8_t kTempo = 0x51;
} // namespace meta

// The play order of a song's events, a strict weak ordering:
//   1. earlier tick first;
//   2. on the same tick, the note-offs that open a track's events at that tick (phase 0) before
//      everything else, so a note that one track ends and another track starts again on the same
//      channel and key at that tick sounds instead of being cut at once;
//   3. then lower track index first.
// Events that compare equal keep their order in the file (the merge is stable), so inside one
// track nothing is ever reordered.
bool PlaysBefore(const Event& a, const Event& b);

struct Song {
    int format = 0;         // as declared in the header (0, 1, 2; other values are read as 1)
    int declaredTracks = 0; // as declared in the header
    int tracksRead = 0;     // MTrk chunks actually found and read
    bool smpte = false;
    int ticksPerQuarter = 0;      // PPQN division, else 0
    int smpteFramesPerSecond = 0; // SMPTE division: 24, 25, 29 (drop-frame, 29.97) or 30, else 0
    int ticksPerFrame = 0;        // SMPTE division, else 0
    std::uint16_t rawDivision = 0;
    bool rmid = false; // the file was wrapped in a RIFF "RMID" container

    std::vector<Event> events; // all tracks merged, in play order (PlaysBefore, stable)
    std::vector<std::uint8_t> payload;
    TempoMap tempo;
    std::uint64_t lengthTicks = 0;  // tick of the last event, end of track included
    std::uint64_t lengthMicros = 0; // time of the last event, end of track included

    // What the reader tolerated, first ones only (at most kMaxRepairs): truncated tracks, stray
    // bytes, unknown chunks... Empty for a clean file.
    static constexpr std::size_t kMaxRepairs = 32;
    std::vector<ReadError> repairs;

    std::span<const std::uint8_t> PayloadOf(const Event& event) const {
        return std::span<const std::uint8_t>(payload).subspan(event.payloadOffset, event.payloadSize);
    }
};

// Reads the file at the path (its bytes as given, no conversion).
Result<Song> ReadMidiFile(const std::string& path);
// Reads a file already in memory: a Standard MIDI File or an RMID-wrapped one.
Result<Song> ParseMidi(std::span<const std::uint8_t> bytes);

} // namespace midi
