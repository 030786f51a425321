#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "demogen/Notation.h"
#include "demogen/Smf.h"

// What turns parsed notation into MIDI events: channel set-up, a melody with simple phrasing,
// accompaniment patterns over a chord chart, lyrics and tempo changes.

namespace demogen {

struct Instrument {
    int channel;
    int program; // General MIDI program, 0-based
    int volume;  // controller 7
    int pan;     // controller 10, 64 is the middle
    int reverb;  // controller 91
};

// Program, volume, pan and reverb at the start of the track.
void SetUp(Track& track, const Instrument& instrument);

// The first track of a format 1 file (or the start of a format 0 one): title, credit line, time and
// key signature and the starting tempo.
Track MakeConductor(std::string_view title, std::string_view credit, int beats, int beatUnit, int sharps,
                    bool minor, double quartersPerMinute);

struct Phrasing {
    int channel;
    int velocity;
    double legato = 0.9; // share of each note's written length that sounds
    int transpose = 0;
    int accent = 8; // added on the first beat of a bar
};

// Notes on the first beat of a bar get the accent, notes between beats sound a little softer.
// `firstBar` is the tick of a bar line (the upbeat lies before it).
void PlayMelody(Track& track, const Melody& melody, const Phrasing& phrasing, std::uint32_t barTicks,
                std::uint32_t beatTicks, std::uint32_t firstBar);

// The chord's tones from the lowest at or above `lowKey` upwards, `count` of them.
std::vector<int> Voicing(const Chord& chord, int lowKey, int count);

struct Hit {
    std::uint32_t at;     // ticks after the bar line
    std::uint32_t length; // cut short where the chord changes
    int tone;             // index into the voicing (or bass tone, see PlayBass); -1 = the whole voicing
    int velocity;
};
using Pattern = std::vector<Hit>;

// `count` hits, `step` apart from `at`, on the tones given in turn.
Pattern Arpeggio(std::uint32_t at, std::uint32_t step, std::uint32_t length, const std::vector<int>& tones,
                 int velocity);

// Repeats a one-bar pattern over every bar the chords cover, voiced from `lowKey` with `voices`
// tones per chord.
void PlayChords(Track& track, const std::vector<Chord>& chords, const Pattern& pattern, int channel,
                int lowKey, int voices, std::uint32_t barTicks);

// The same for a bass line. Tones: 0 the bass note (lowest at or above `lowKey`), 1 the fifth
// above it, 2 the chord's third above it, 3 its octave, 4 the fifth below it.
void PlayBass(Track& track, const std::vector<Chord>& chords, const Pattern& pattern, int channel, int lowKey,
              std::uint32_t barTicks);

// Every chord held for its whole length.
void PlaySustained(Track& track, const std::vector<Chord>& chords, int channel, int lowKey, int voices,
                   int velocity);

// One lyric event per syllable at the start of its note; exactly one entry per note.
void PlaceLyrics(Track& track, const Melody& melody, const std::vector<std::string>& syllables);

// A gradual change of tempo from `from` to `to`, one step per eighth note.
void Ritardando(Track& conductor, std::uint32_t from, std::uint32_t to, double fromTempo, double toTempo);

} // namespace demogen
