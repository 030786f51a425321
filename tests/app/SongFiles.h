#pragma once

#include "SmfBuilder.h"

#include <cstdint>
#include <string>

// Writes small Standard MIDI Files for the tests: one note every second on a piano, at 1000
// ticks per quarter note and 1,000,000 microseconds per quarter, so one tick is one millisecond.
inline void WriteSong(const std::string& path, std::uint32_t lengthMs) {
    mcitest::SmfBuilder song(0, 1000);
    int track = song.AddTrack();
    song.Add(track, 0, mcitest::Tempo(1000000)).Add(track, 0, mcitest::Program(0, 0));
    for (std::uint32_t at = 0; at + 500 <= lengthMs; at += 1000)
        song.Add(track, at, mcitest::NoteOn(0, 60, 100)).Add(track, at + 500, mcitest::NoteOff(0, 60));
    song.EndAt(track, lengthMs).WriteTo(path);
}
