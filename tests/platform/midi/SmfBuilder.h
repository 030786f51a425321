#pragma once

// Builds Standard MIDI File bytes by hand for the reader tests, so each test shows exactly the
// bytes it feeds in.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/midi/MidiFile.h"

namespace midi::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

inline Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

inline Bytes Vlq(std::uint32_t value) {
    Bytes out{static_cast<std::uint8_t>(value & 0x7F)};
    while ((value >>= 7) != 0)
        out.insert(out.begin(), static_cast<std::uint8_t>(0x80 | (value & 0x7F)));
    return out;
}

inline Bytes Be32(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v >> 24), static_cast<std::uint8_t>(v >> 16),
            static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)};
}

inline Bytes Le32(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
}

inline Bytes Chunk(const std::string& tag, const Bytes& body) {
    return Cat({Text(tag), Be32(static_cast<std::uint32_t>(body.size())), body});
}

inline Bytes Header(std::uint16_t format, std::uint16_t tracks, std::uint16_t division) {
    return Chunk("MThd", {static_cast<std::uint8_t>(format >> 8), static_cast<std::uint8_t>(format),
                          static_cast<std::uint8_t>(tracks >> 8), static_cast<std::uint8_t>(tracks),
                          static_cast<std::uint8_t>(division >> 8), static_cast<std::uint8_t>(division)});
}

inline Bytes Track(const Bytes& events) {
    return Chunk("MTrk", events);
}

inline Bytes EndOfTrack(std::uint32_t delta = 0) {
    return Cat({Vlq(delta), {0xFF, 0x2F, 0x00}});
}

inline Bytes NoteOn(std::uint32_t delta, std::uint8_t channel, std::uint8_t key,
                    std::uint8_t velocity = 100) {
    return Cat({Vlq(delta), {static_cast<std::uint8_t>(0x90 | channel), key, velocity}});
}

inline Bytes NoteOff(std::uint32_t delta, std::uint8_t channel, std::uint8_t key) {
    return Cat({Vlq(delta), {static_cast<std::uint8_t>(0x80 | channel), key, 64}});
}

inline Bytes Tempo(std::uint32_t delta, std::uint32_t microsPerQuarter) {
    return Cat(
        {Vlq(delta),
         {0xFF, 0x51, 0x03, static_cast<std::uint8_t>(microsPerQuarter >> 16),
          static_cast<std::uint8_t>(microsPerQuarter >> 8), static_cast<std::uint8_t>(microsPerQuarter)}});
}

inline Bytes Meta(std::uint32_t delta, std::uint8_t type, const Bytes& data) {
    return Cat({Vlq(delta), {0xFF, type}, Vlq(static_cast<std::uint32_t>(data.size())), data});
}

// A one-track format 0 file of 96 ticks per quarter note.
inline Bytes SimpleFile(const Bytes& events) {
    return Cat({Header(0, 1, 96), Track(events)});
}

inline Result<Song> Parse(const Bytes& bytes) {
    return ParseMidi(std::span<const std::uint8_t>(bytes));
}

// The note-on keys of a song (velocity above 0), in play order.
inline std::vector<int> NoteOnKeys(const Song& song) {
    std::vector<int> keys;
    for (const Event& e : song.events) {
        if ((e.status & 0xF0) == 0x90 && e.data2 > 0)
            keys.push_back(e.data1);
    }
    return keys;
}

inline std::vector<const Event*> EventsWithStatus(const Song& song, std::uint8_t status) {
    std::vector<const Event*> found;
    for (const Event& e : song.events) {
        if (e.status == status)
            found.push_back(&e);
    }
    return found;
}

} // namespace midi::test
