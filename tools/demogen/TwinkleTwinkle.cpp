#include "demogen/Arrange.h"
#include "demogen/Songs.h"

// "Ah vous dirai-je, maman" (French, 18th century), known in English as "Twinkle, Twinkle, Little
// Star", in C major: a music box over a piano playing broken chords. This one is a format 0 file,
// one track for every channel, written with running status and note-ons of velocity 0 as
// note-offs, and it starts with the General MIDI "system on" message.

namespace demogen {

SongFile TwinkleTwinkle() {
    constexpr std::uint32_t kBeat = kTicksPerQuarter;
    constexpr std::uint32_t kBar = 4 * kBeat;
    constexpr std::uint32_t kIntro = kBar; // the piano plays one bar alone

    const Melody tune = ParseMelody("C5q C5q G5q G5q | A5q A5q G5h | F5q F5q E5q E5q | D5q D5q C5h |"
                                    "G5q G5q F5q F5q | E5q E5q D5h | G5q G5q F5q F5q | E5q E5q D5h |"
                                    "C5q C5q G5q G5q | A5q A5q G5h | F5q F5q E5q E5q | D5q D5q C5h~ | C5w",
                                    kBar, kIntro);
    const std::vector<Chord> chords = ParseChords("C |"
                                                  "C | F C | F C | G7 C | C G7 | C G | C G7 | C G |"
                                                  "C | F C | F C | G7 C |",
                                                  kBar, 0);
    const std::vector<Chord> last = ParseChords("C", kBar, kIntro + 12 * kBar);

    Track song =
        MakeConductor("Twinkle Twinkle Little Star",
                      "Traditional French (Ah vous dirai-je, maman), public domain; encoded for Shufflon", 4,
                      4, 0, false, 96);
    song.SysEx(0, {0x7E, 0x7F, 0x09, 0x01, 0xF7}); // General MIDI system on
    const std::uint32_t end = kIntro + 13 * kBar;
    Ritardando(song, end - 2 * kBar, end - kBar, 96, 70);
    song.EndAtLeast(end + kBeat);

    Track musicBox("Music box");
    SetUp(musicBox, {0, 10, 120, 64, 64});
    PlayMelody(musicBox, tune, {0, 100, 0.85}, kBar, kBeat, 0);

    // Broken chords in eighths, low-high-middle-high, the pattern of a classical left hand.
    Track piano("Piano");
    SetUp(piano, {1, 0, 100, 64, 50});
    PlayChords(piano, chords, Arpeggio(0, kBeat / 2, kBeat / 2, {0, 2, 1, 2, 0, 2, 1, 2}, 62), 1, 48, 3,
               kBar);
    PlaySustained(piano, last, 1, 48, 3, 64);
    PlayBass(piano, last, {{0, kBar, 0, 60}}, 1, 36, kBar);

    song.Absorb(musicBox);
    song.Absorb(piano);
    SongFile file{"Twinkle Twinkle Little Star.mid", {}};
    file.bytes = WriteSmf(0, kTicksPerQuarter, {song}, {true, true});
    return file;
}

} // namespace demogen
