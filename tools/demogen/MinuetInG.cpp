#include "demogen/Arrange.h"
#include "demogen/Songs.h"

// The Minuet in G major from the 1725 notebook for Anna Magdalena Bach (BWV Anh. 114, long
// credited to J. S. Bach, now to Christian Petzold), both halves without repeats, on harpsichord:
// the right hand and the left hand each on a track of their own.

namespace demogen {

SongFile MinuetInG() {
    constexpr std::uint32_t kBeat = kTicksPerQuarter;
    constexpr std::uint32_t kBar = 3 * kBeat;

    const Melody right =
        ParseMelody("D5q G4e A4e B4e C5e | D5q G4q G4q | E5q C5e D5e E5e F#5e | G5q G4q G4q |"
                    "C5q D5e C5e B4e A4e | B4q C5e B4e A4e G4e | F#4q G4e A4e B4e G4e | A4h. |"
                    "D5q G4e A4e B4e C5e | D5q G4q G4q | E5q C5e D5e E5e F#5e | G5q G4q G4q |"
                    "C5q D5e C5e B4e A4e | B4q C5e B4e A4e G4e | A4q B4e A4e G4e F#4e | G4h. |"
                    "B5q G5e A5e B5e G5e | A5q D5e E5e F#5e D5e | G5q E5e F#5e G5e D5e | C#5q B4e C#5e A4q |"
                    "A4e B4e C#5e D5e E5e F#5e | G5q F#5q E5q | F#5q A4q C#5q | D5h. |"
                    "D5q G4e F#4e G4q | E5q G4e F#4e G4q | D5q C5q B4q | A4e G4e F#4e G4e A4q |"
                    "D4e E4e F#4e G4e A4e B4e | C5q B4q A4q | B4e D5e G4q F#4q | G4h.",
                    kBar);
    const Melody left =
        ParseMelody("G3h A3q | B3h. | C4h. | B3h. | A3h. | G3h. | D4q B3q G3q | D4q D3e C4e B3e A3e |"
                    "B3h A3q | G3q B3q G3q | C4h. | B3q C4e B3e A3e G3e | A3h F#3q | G3h B3q |"
                    "C4q D4q D3q | G3h G2q |"
                    "G3h. | F#3h. | E3h. | A3h A2q | A3h G3q | B3q D4q C#4q | D4q F#3q A3q |"
                    "D3q D2q C3q |"
                    "B2h. | C3h. | B2q A2q G2q | D3h. | D3h. | E3q G3q F#3q | G3q B2q D3q | G2h.",
                    kBar);

    Track conductor =
        MakeConductor("Minuet in G", "Christian Petzold (BWV Anh. 114), public domain; encoded for Shufflon",
                      3, 4, 1, false, 126);
    Ritardando(conductor, 30 * kBar, 32 * kBar, 126, 84);
    conductor.EndAtLeast(33 * kBar);

    Track rightHand("Right hand");
    SetUp(rightHand, {0, 6, 110, 54, 40});
    PlayMelody(rightHand, right, {0, 88, 0.9}, kBar, kBeat, 0);

    Track leftHand("Left hand");
    SetUp(leftHand, {1, 6, 104, 74, 40});
    PlayMelody(leftHand, left, {1, 80, 0.9}, kBar, kBeat, 0);

    SongFile song{"Minuet in G.mid", {}};
    song.bytes = WriteSmf(1, kTicksPerQuarter, {conductor, rightHand, leftHand}, {});
    return song;
}

} // namespace demogen
