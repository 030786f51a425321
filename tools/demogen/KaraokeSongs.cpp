#include "demogen/Arrange.h"
#include "demogen/Songs.h"

// Karaoke songs written the ways other karaoke files are, for trying the lyrics window by hand and
// in the end-to-end check; they are not demo songs. "Frere Jacques.kar" is a karaoke file of the
// oldest kind: its words in text events (FF 01) of a "Words" track, each syllable carrying the
// space after its word, and the French words in Windows-1252. "Twinkle Twinkle.kar" puts one
// syllable in each lyric event (FF 05), a hyphen where a word goes on and a carriage return at
// the end of a line, as notation programs write them.

namespace demogen {
namespace {

// ParseLyrics puts the space between words before the next word; these files put it after.
std::vector<std::string> SpacesAfterWords(std::vector<std::string> syllables) {
    for (std::size_t i = 1; i < syllables.size(); ++i) {
        std::string& word = syllables[i];
        const std::size_t start = word.find_first_not_of("\\/");
        if (start != std::string::npos && word.compare(start, 1, " ") == 0) {
            word.erase(start, 1);
            syllables[i - 1] += ' ';
        }
    }
    return syllables;
}

// One syllable an event without spaces: a hyphen where the word goes on, a carriage return at the
// end of a line.
std::vector<std::string> HyphensAndReturns(std::vector<std::string> syllables) {
    for (std::size_t i = 0; i < syllables.size(); ++i) {
        std::string& word = syllables[i];
        const bool newLine = !word.empty() && (word[0] == '/' || word[0] == '\\');
        if (newLine)
            word.erase(0, 1);
        const bool newWord = word.empty() || word[0] == ' ';
        if (!newWord || newLine)
            word.erase(0, word.find_first_not_of(' '));
        if (i == 0)
            continue;
        if (newLine)
            syllables[i - 1] += '\r';
        else if (!newWord)
            syllables[i - 1] += '-';
        else
            word.erase(0, 1);
    }
    return syllables;
}

void PlaceWords(Track& track, const Melody& melody, const std::vector<std::string>& syllables, bool asText) {
    for (std::size_t i = 0; i < syllables.size() && i < melody.notes.size(); ++i) {
        if (asText)
            track.Text(melody.notes[i].start, syllables[i]);
        else
            track.Lyric(melody.notes[i].start, syllables[i]);
    }
}

SongFile FrereJacquesKaraoke() {
    constexpr std::uint32_t kBar = 4 * kTicksPerQuarter;
    const Melody tune =
        ParseMelody("G4q A4q B4q G4q | G4q A4q B4q G4q | B4q C5q D5h | B4q C5q D5h |"
                    "D5e E5e D5e C5e B4q G4q | D5e E5e D5e C5e B4q G4q | G4q D4q G4h | G4q D4q G4h",
                    kBar);
    // "\xe8" is the Windows-1252 e grave.
    const std::vector<std::string> lyrics = SpacesAfterWords(
        ParseLyrics("\\ Fr\xe8-re Jac-ques, Fr\xe8-re Jac-ques, / Dor-mez vous? Dor-mez vous? "
                    "/ Son-nez les ma-ti-nes, Son-nez les ma-ti-nes, "
                    "/ Ding, dang, dong. Ding, dang, dong."));
    const std::uint32_t end = tune.end;

    Track conductor = MakeConductor("Frere Jacques", "@KMIDI KARAOKE FILE", 4, 4, 1, false, 100);
    conductor.EndAtLeast(end + kBar);
    Track words("Words");
    words.Text(0, "@LFRAN");
    words.Text(0, "@TFr\xe8re Jacques");
    words.Text(0, "@TTraditional, encoded for Shufflon");
    PlaceWords(words, tune, lyrics, true);

    Track voice("Melody");
    SetUp(voice, {0, 73, 110, 64, 50});
    PlayMelody(voice, tune, {0, 90, 0.9}, kBar, kTicksPerQuarter, 0);
    Track bass("Bass");
    SetUp(bass, {1, 32, 90, 64, 40});
    for (std::uint32_t bar = 0; bar * kBar < end; ++bar)
        bass.Note(bar * kBar, 2 * kTicksPerQuarter, 1, 43, 80);

    SongFile song{"Frere Jacques.kar", {}};
    song.bytes = WriteSmf(1, kTicksPerQuarter, {conductor, words, voice, bass}, {});
    return song;
}

SongFile TwinkleKaraoke() {
    constexpr std::uint32_t kBar = 4 * kTicksPerQuarter;
    const Melody tune = ParseMelody("C5q C5q G5q G5q | A5q A5q G5h | F5q F5q E5q E5q | D5q D5q C5h |"
                                    "G5q G5q F5q F5q | E5q E5q D5h | G5q G5q F5q F5q | E5q E5q D5h |"
                                    "C5q C5q G5q G5q | A5q A5q G5h | F5q F5q E5q E5q | D5q D5q C5h",
                                    kBar);
    const std::vector<std::string> lyrics =
        HyphensAndReturns(ParseLyrics("\\ Twin-kle, twin-kle, lit-tle star, / How I won-der what you are! "
                                      "/ Up a-bove the world so high, / Like a dia-mond in the sky. "
                                      "/ Twin-kle, twin-kle, lit-tle star, / How I won-der what you are!"));

    Track song = MakeConductor("Twinkle Twinkle", "Words: Jane Taylor (1806)", 4, 4, 0, false, 104);
    song.EndAtLeast(tune.end + kBar);
    Track voice("Voice");
    SetUp(voice, {0, 11, 110, 64, 60});
    PlayMelody(voice, tune, {0, 96, 0.85}, kBar, kTicksPerQuarter, 0);
    PlaceWords(voice, tune, lyrics, false);

    SongFile file{"Twinkle Twinkle.kar", {}};
    file.bytes = WriteSmf(1, kTicksPerQuarter, {song, voice}, {});
    return file;
}

} // namespace

std::vector<SongFile> KaraokeSongs() {
    return {FrereJacquesKaraoke(), TwinkleKaraoke()};
}

} // namespace demogen
