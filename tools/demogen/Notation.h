#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The text notation the songs are written in, so that a melody can be proof-read note by note.
//
// A note is a pitch and a duration: "F#4q" (F sharp above middle C, a quarter), "Bb3h." (dotted
// half), "Re" (an eighth rest). Durations: w h q e s, a trailing '.' dots them. A trailing '~' ties
// the note to the next one, which must have the same pitch. '|' is a bar line: every bar between two
// bar lines must be exactly full, only the first (an upbeat) and the last may be shorter.
//
// A chord is a root, a quality and an optional bass and duration: "Am", "D7", "Bbmaj7", "C/E",
// "G:h". Qualities: major (none), m, 7, m7, maj7, dim, 6. "N" is no chord. A bar's chords without
// a duration share it evenly.
//
// Lyrics give one syllable per note: words are separated by spaces, the syllables of a word by '-';
// "_" is a note that carries no syllable (the second note of a slur), "/" starts a new line and "\"
// a new verse.

namespace demogen {

inline constexpr std::uint32_t kTicksPerQuarter = 480;

struct MelodyNote {
    std::uint32_t start;
    std::uint32_t length;
    int key; // MIDI key, middle C (C4) = 60
};

struct Melody {
    std::vector<MelodyNote> notes;
    std::uint32_t upbeat; // length of a short first bar, 0 when the melody starts on a bar line
    std::uint32_t end;    // tick after the last note or rest
};

struct Chord {
    std::uint32_t start;
    std::uint32_t length;
    int root;               // pitch class, C = 0
    int bass;               // pitch class of the bass note, the root unless a slash chord
    std::vector<int> tones; // semitones above the root, starting with 0
};

std::uint32_t ParseDuration(std::string_view text);

// Starting at tick `start`; `barTicks` is the length of a full bar.
Melody ParseMelody(std::string_view text, std::uint32_t barTicks, std::uint32_t start = 0);

// Bars of chords starting at `start`, which is a bar line. "N" leaves a span without chord.
std::vector<Chord> ParseChords(std::string_view text, std::uint32_t barTicks, std::uint32_t start);

// One entry per note of the melody, empty for a note without a syllable. Word starts after the
// first of a line carry a leading space; line and verse starts carry "/" and "\" as .kar files do.
std::vector<std::string> ParseLyrics(std::string_view text);

} // namespace demogen
