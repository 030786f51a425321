#include "demogen/Arrange.h"
#include "demogen/Songs.h"

// John Newton's hymn (words 1779) to the American tune "New Britain" (1829), in G major and 3/4:
// a pan flute carries the tune over harp and strings. A karaoke file: its "Words" track carries
// the .kar header texts and one lyric event per sung syllable.

namespace demogen {

SongFile AmazingGrace() {
    constexpr std::uint32_t kBeat = kTicksPerQuarter;
    constexpr std::uint32_t kBar = 3 * kBeat;

    const Melody tune =
        ParseMelody("D4q | G4h B4e G4e | B4h A4q | G4h E4q | D4h D4q | G4h B4e G4e | B4h A4q |"
                    "D5h.~ | D5h B4q | D5h B4e G4e | B4h A4q | G4h E4q | D4h D4q |"
                    "G4h B4e G4e | B4h A4q | G4h.~ | G4h.",
                    kBar);
    const std::vector<std::string> lyrics = ParseLyrics("\\ A-ma-zing _ grace! How sweet the sound "
                                                        "/ That saved a _ wretch like me! "
                                                        "/ I once was _ lost, but now am found, "
                                                        "/ Was blind, but _ now I see.");
    const std::uint32_t bar1 = tune.upbeat;
    const std::vector<Chord> chords = ParseChords("G | G | C | G | G | G:h D:q | D | D7:h G:q |"
                                                  "G | G | C | G | Em | G:h D7:q | G | G",
                                                  kBar, bar1);
    const std::uint32_t end = bar1 + 16 * kBar;

    Track conductor = MakeConductor("Amazing Grace", "@KMIDI KARAOKE FILE", 3, 4, 1, false, 76);
    Ritardando(conductor, end - 3 * kBar, end - kBar, 76, 56);
    conductor.EndAtLeast(end + kBar);

    // Karaoke players read the song's details from "@" texts at the start of the words track.
    Track words("Words");
    words.Text(0, "@V0100");
    words.Text(0, "@LENGL");
    words.Text(0, "@TAmazing Grace");
    words.Text(0, "@TWords: John Newton (1779)");
    words.Text(0, "@TTune: New Britain (1829)");
    words.Text(0, "@IPublic domain; encoded for Shufflon");
    PlaceLyrics(words, tune, lyrics);

    Track flute("Melody");
    SetUp(flute, {0, 75, 110, 64, 64});
    PlayMelody(flute, tune, {0, 86, 0.95}, kBar, kBeat, bar1);

    Track harp("Harp");
    SetUp(harp, {1, 46, 90, 44, 60});
    PlayBass(harp, chords, {{0, kBar, 0, 66}}, 1, 43, kBar);
    PlayChords(harp, chords, Arpeggio(kBeat / 2, kBeat / 2, kBeat, {0, 1, 2, 1, 0}, 52), 1, 59, 3, kBar);

    Track strings("Strings");
    SetUp(strings, {2, 49, 72, 84, 80});
    PlaySustained(strings, chords, 2, 50, 4, 50);

    SongFile song{"Amazing Grace.kar", {}};
    song.bytes = WriteSmf(1, kTicksPerQuarter, {conductor, words, flute, harp, strings}, {});
    return song;
}

} // namespace demogen
