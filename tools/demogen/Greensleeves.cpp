#include "demogen/Arrange.h"
#include "demogen/Songs.h"

// The English ballad (16th century), in A minor and 3/4: a recorder sings verse and refrain over a
// nylon-string guitar that picks the chords, with a cello underneath. Written to a RIFF "RMID" file.

namespace demogen {

SongFile Greensleeves() {
    constexpr std::uint32_t kBeat = kTicksPerQuarter;
    constexpr std::uint32_t kBar = 3 * kBeat;

    const Melody tune = ParseMelody(
        // Verse: "Alas, my love, you do me wrong..."
        "A4q | C5h D5q | E5q. F5e E5q | D5h B4q | G4q. A4e B4q | C5h A4q | A4q. G#4e A4q | B4h G#4q | E4h "
        "A4q |"
        "C5h D5q | E5q. F5e E5q | D5h B4q | G4q. A4e B4q | C5q. B4e A4q | G#4q. F#4e G#4q | A4h.~ | A4h. |"
        // Refrain: "Greensleeves was all my joy..."
        "G5h. | G5q. F#5e E5q | D5h B4q | G4q. A4e B4q | C5h A4q | A4q. G#4e A4q | B4h G#4q | E4h. |"
        "G5h. | G5q. F#5e E5q | D5h B4q | G4q. A4e B4q | C5q. B4e A4q | G#4q. F#4e G#4q | A4h.~ | A4h.",
        kBar);
    const std::uint32_t bar1 = tune.upbeat;
    const std::vector<Chord> chords = ParseChords("Am | C | G | Em | Am | F | E | E |"
                                                  "Am | C | G | Em | Am | E | Am | Am |"
                                                  "C | C | G | Em | Am | F | E | E |"
                                                  "C | Em | G | Em | Am | E | Am | Am",
                                                  kBar, bar1);

    Track conductor = MakeConductor(
        "Greensleeves", "Traditional English, public domain; encoded for Shufflon", 3, 4, 0, true, 120);
    Ritardando(conductor, bar1 + 30 * kBar, bar1 + 32 * kBar, 120, 80);
    conductor.EndAtLeast(bar1 + 32 * kBar + kBar);

    Track recorder("Recorder");
    SetUp(recorder, {0, 74, 100, 64, 60});
    PlayMelody(recorder, tune, {0, 82, 0.94}, kBar, kBeat, bar1);

    // The guitar picks each chord in eighths: the bass on the bar line, then up and back down the chord.
    Track guitar("Guitar");
    SetUp(guitar, {1, 24, 96, 48, 55});
    PlayBass(guitar, chords, {{0, kBar - 20, 0, 68}}, 1, 40, kBar);
    PlayChords(guitar, chords, Arpeggio(kBeat / 2, kBeat / 2, kBeat, {0, 1, 2, 1, 0}, 58), 1, 55, 3, kBar);

    Track cello("Cello");
    SetUp(cello, {2, 42, 70, 76, 55});
    PlayBass(cello, chords, {{0, kBar - 40, 0, 58}}, 2, 36, kBar);

    SongFile song{"Greensleeves.rmi", {}};
    song.bytes = WrapInRmid(WriteSmf(1, kTicksPerQuarter, {conductor, recorder, guitar, cello}, {}));
    return song;
}

} // namespace demogen
