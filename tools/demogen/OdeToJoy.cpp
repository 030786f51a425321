#include "demogen/Arrange.h"
#include "demogen/Songs.h"

// Beethoven's theme from the last movement of the Ninth Symphony (1824), in D major: the horn has
// the tune, a flute joins it an octave higher for the second half, strings hold the chords over a
// walking bass, the timpani come in for the last phrase and the end slows down.

namespace demogen {

SongFile OdeToJoy() {
    constexpr std::uint32_t kBeat = kTicksPerQuarter;
    constexpr std::uint32_t kBar = 4 * kBeat;

    const Melody tune =
        ParseMelody("F#4q F#4q G4q A4q | A4q G4q F#4q E4q | D4q D4q E4q F#4q | F#4q. E4e E4h |"
                    "F#4q F#4q G4q A4q | A4q G4q F#4q E4q | D4q D4q E4q F#4q | E4q. D4e D4h |"
                    "E4q E4q F#4q D4q | E4q F#4e G4e F#4q D4q | E4q F#4e G4e F#4q E4q |"
                    "D4q E4q A3h |"
                    "F#4q F#4q G4q A4q | A4q G4q F#4q E4q | D4q D4q E4q F#4q | E4q. D4e D4h~ | D4w",
                    kBar);
    const std::vector<Chord> chords = ParseChords("D | A | D | D A | D | A | D | A D |"
                                                  "A D | A D | A | D A | D | A | D | A D |",
                                                  kBar, 0);
    // The last bar is one held chord rather than the patterns going on under the final note.
    const std::vector<Chord> last = ParseChords("D", kBar, 16 * kBar);

    Track conductor =
        MakeConductor("Ode to Joy", "Ludwig van Beethoven (1824), public domain; encoded for Shufflon", 4, 4,
                      2, false, 100);
    Ritardando(conductor, 14 * kBar, 16 * kBar, 100, 66);
    conductor.EndAtLeast(17 * kBar + 2 * kBeat);

    Track horn("Horn");
    SetUp(horn, {0, 60, 110, 60, 50});
    PlayMelody(horn, tune, {0, 84, 0.92}, kBar, kBeat, 0);

    // The flute doubles the second half an octave up, a little softer than the horn.
    Track flute("Flute");
    SetUp(flute, {1, 73, 80, 80, 55});
    Melody secondHalf = tune;
    std::erase_if(secondHalf.notes, [](const MelodyNote& note) { return note.start < 8 * kBar; });
    PlayMelody(flute, secondHalf, {1, 70, 0.9, 12}, kBar, kBeat, 0);

    Track strings("Strings");
    SetUp(strings, {2, 48, 78, 40, 70});
    PlayChords(strings, chords, {{0, 2 * kBeat, -1, 58}, {2 * kBeat, 2 * kBeat, -1, 54}}, 2, 50, 3, kBar);
    PlaySustained(strings, last, 2, 50, 3, 60);

    Track bass("Bass");
    SetUp(bass, {3, 43, 92, 64, 45});
    PlayBass(bass, chords,
             {{0, kBeat - 30, 0, 78},
              {kBeat, kBeat - 30, 1, 66},
              {2 * kBeat, kBeat - 30, 3, 72},
              {3 * kBeat, kBeat - 30, 1, 66}},
             3, 38, kBar);
    PlayBass(bass, last, {{0, kBar, 0, 80}}, 3, 38, kBar);

    // Timpani on the tonic and dominant for the last phrase and the final chord.
    Track timpani("Timpani");
    SetUp(timpani, {4, 47, 90, 64, 50});
    for (std::uint32_t bar = 12; bar < 16; ++bar) {
        timpani.Note(bar * kBar, kBeat, 4, 50, bar == 12 ? 92 : 80);
        timpani.Note(bar * kBar + 2 * kBeat, kBeat, 4, 45, 70);
    }
    timpani.Note(16 * kBar, 2 * kBeat, 4, 50, 96);

    SongFile song{"Ode to Joy.mid", {}};
    song.bytes = WriteSmf(1, kTicksPerQuarter, {conductor, horn, flute, strings, bass, timpani}, {});
    return song;
}

} // namespace demogen
