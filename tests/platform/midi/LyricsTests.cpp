// The words of karaoke songs: which events carry them, how syllables join into lines and verses,
// how their bytes are read, when each is sung, and files that push the reader's limits.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "SmfBuilder.h"
#include "platform/midi/Lyrics.h"

namespace midi::test {
namespace {

// A text at a tick of a song whose ticks are milliseconds (500 to a quarter note at 120 bpm).
struct Timed {
    std::uint32_t tick;
    std::string text;
};

Bytes TextTrack(const std::vector<Timed>& texts, std::uint8_t type, bool withNotes = false) {
    Bytes events;
    std::uint32_t now = 0;
    for (const Timed& t : texts) {
        events = Cat({events, Meta(t.tick - now, type, Text(t.text))});
        now = t.tick;
    }
    if (withNotes)
        events = Cat({events, NoteOn(0, 0, 60), NoteOff(100, 0, 60)});
    return Track(Cat({events, EndOfTrack()}));
}

Bytes SongOf(const std::vector<Bytes>& tracks) {
    Bytes file = Header(1, static_cast<std::uint16_t>(tracks.size()), 500);
    for (const Bytes& track : tracks)
        file = Cat({file, track});
    return file;
}

// Texts a tick apart, from tick 0.
std::vector<Timed> Spaced(const std::vector<std::string>& texts) {
    std::vector<Timed> timed;
    for (const std::string& text : texts)
        timed.push_back({static_cast<std::uint32_t>(timed.size()), text});
    return timed;
}

Lyrics Words(const Bytes& file) {
    auto song = Parse(file);
    EXPECT_TRUE(song.ok());
    return song.ok() ? ReadLyrics(song.value()) : Lyrics{};
}

// What a player shows after the syllable sung at `ms`.
std::string SungBy(const Lyrics& lyrics, std::uint32_t ms) {
    return lyrics.text.substr(0, lyrics.SungLength(ms));
}

struct Convention {
    const char* what;
    std::uint8_t type;
    std::vector<std::string> texts;
    std::string shown;
};

TEST(Lyrics, SyllablesJoinIntoLinesAndVersesAsTheFileMeansThem) {
    const std::vector<Convention> cases = {
        {"spaces after words, in text events",
         meta::kText,
         {"@TMary", "\\Ma", "ry ", "had ", "a ", "lit", "tle ", "lamb", "/Lit", "tle ", "lamb"},
         "Mary had a little lamb\nLittle lamb"},
        {"spaces before words, in lyric events",
         meta::kLyric,
         {"\\A", "ma", "zing", " grace", " how", "/That", " saved"},
         "Amazing grace how\nThat saved"},
        {"a backslash starts a verse",
         meta::kText,
         {"\\First ", "/line", "\\Second"},
         "First\nline\n\nSecond"},
        {"no spaces: one word an event, hyphens join, CR ends a line",
         meta::kLyric,
         {"Ma-", "ry", "had", "a", "lit-", "tle", "lamb\r", "Its", "fleece"},
         "Mary had a little lamb\nIts fleece"},
        {"a hyphen between spaced syllables",
         meta::kLyric,
         {"Twin-", "kle ", "lit", "-tle ", "star"},
         "Twinkle little star"},
        {"CR LF ends a line, two of them a verse",
         meta::kLyric,
         {"One\r\n", "two\r\n\r\n", "three"},
         "One\ntwo\n\nthree"},
        {"a hyphen at a line's end stays", meta::kText, {"\\Hal", "le", "lu-", "/jah "}, "Hallelu-\njah"},
        {"every kind of header is left out",
         meta::kText,
         {"@KMIDI KARAOKE FILE", "@V0100", "@LENGL", "@IInfo", "@TTitle", "\\Words ", "@home"},
         "Words @home"},
        {"Windows-1252 where the bytes are not UTF-8",
         meta::kText,
         {"\\Fr\xe8re ", "Jac", "ques, ",
          "\x93"
          "dor",
          "mez\x94 ", "\x80\x81"},
         "Fr\u00e8re Jacques, \u201cdormez\u201d \u20ac"},
        {"UTF-8 where it is valid",
         meta::kLyric,
         {"\\Fr\xc3\xa8re ", "Jac", "ques, ", "\xe2\x82\xac"},
         "Fr\u00e8re Jacques, \u20ac"},
        {"each text read by itself: a stray Windows-1252 quote among UTF-8 words",
         meta::kText,
         {"@TFr\xc3\xa8re Jacques", "\\Fr\xc3\xa8re ", "Jacques, ", "dormez", "\x92", "vous"},
         "Fr\u00e8re Jacques, dormez\u2019vous"},
        {"control characters are dropped, a tab is a space",
         meta::kLyric,
         {"\\a\x01"
          "b\tc\x7f",
          " d\xc2\x85"
          "e",
          " \x1b[2J"},
         "ab c de [2J"},
        {"repeated lines stay",
         meta::kText,
         {"\\La ", "la", "/La ", "la", "/La ", "la"},
         "La la\nLa la\nLa la"},
    };
    for (const Convention& c : cases) {
        SCOPED_TRACE(c.what);
        const Lyrics lyrics = Words(SongOf({TextTrack({}, 0, true), TextTrack(Spaced(c.texts), c.type)}));
        EXPECT_EQ(lyrics.text, c.shown);
        ASSERT_FALSE(lyrics.syllables.empty());
        EXPECT_EQ(lyrics.syllables.back().end, lyrics.text.size());
        for (std::size_t i = 1; i < lyrics.syllables.size(); ++i) {
            EXPECT_LE(lyrics.syllables[i - 1].ms, lyrics.syllables[i].ms);
            EXPECT_LT(lyrics.syllables[i - 1].end, lyrics.syllables[i].end);
        }
    }
}

TEST(Lyrics, WordsComeFromLyricEventsElseFromTheTracksThatCarryKaraokeTexts) {
    // Lyric events win over text events anywhere.
    EXPECT_EQ(Words(SongOf({TextTrack({{0, "\\Not "}, {5, "these"}}, meta::kText, true),
                            TextTrack({{2, "But "}, {4, "these"}}, meta::kLyric)}))
                  .text,
              "But these");
    // A comment in another track is not words; words spread over two tracks come in time order,
    // also those before the first note.
    const Lyrics spread = Words(SongOf({TextTrack({{0, "A comment about the song"}}, meta::kText),
                                        TextTrack({{0, "\\One "}, {200, "three "}}, meta::kText),
                                        TextTrack({{100, "/two "}, {300, "/four"}}, meta::kText, true)}));
    EXPECT_EQ(spread.text, "One\ntwo three\nfour");
    // Without karaoke marks: the track whose texts run through the song; texts at the start are
    // credits.
    EXPECT_EQ(Words(SongOf({TextTrack({{0, "Title"}, {0, "(c) someone"}}, meta::kText, true),
                            TextTrack(Spaced({"", "Row ", "row ", "row ", "your ", "boat"}), meta::kText)}))
                  .text,
              "Row row row your boat");
    EXPECT_EQ(Words(SongOf({TextTrack({{0, "Title"}, {0, "Words by X"}, {0, "Music by Y"}, {0, "1990"}},
                                      meta::kText, true)}))
                  .text,
              "");
}

TEST(Lyrics, TheSyllableSungIsTheLastThatHasStarted) {
    // "Ma" at 0 ms, "ry " at 300, "had" at 600, a new line "a" at 900, and the same line again.
    const Lyrics lyrics = Words(SongOf(
        {TextTrack({}, 0, true),
         TextTrack({{0, "\\Ma"}, {300, "ry "}, {600, "had"}, {900, "/a "}, {1200, "/a "}}, meta::kLyric)}));
    ASSERT_EQ(lyrics.text, "Mary had\na\na");
    const std::vector<std::pair<std::uint32_t, std::string>> sung = {
        {0, "Ma"},         {299, "Ma"},          {300, "Mary "},           {599, "Mary "},
        {600, "Mary had"}, {900, "Mary had\na"}, {1200, "Mary had\na\na"}, {0xFFFFFFFF, "Mary had\na\na"}};
    for (const auto& [ms, expected] : sung)
        EXPECT_EQ(SungBy(lyrics, ms), expected) << "at " << ms << " ms";
    // Nothing is sung before the first syllable starts.
    const Lyrics later = Words(SongOf({TextTrack({{500, "Late"}}, meta::kLyric, true)}));
    EXPECT_EQ(SungBy(later, 499), "");
    EXPECT_EQ(SungBy(later, 500), "Late");
}

TEST(Lyrics, EndlessTextsBecomeLinesAWindowCanHold) {
    // Thousands of one-letter events, each its own word since none carries a space.
    std::vector<std::string> letters(5000, "a");
    const Lyrics many = Words(SongOf({TextTrack(Spaced(letters), meta::kLyric, true)}));
    EXPECT_EQ(std::count(many.text.begin(), many.text.end(), 'a'), 5000);
    EXPECT_EQ(many.syllables.size(), 5000u);
    EXPECT_EQ(SungBy(many, 2499).size(), 2 * 2500 - 1);

    // One text of 64 KB: with spaces it breaks at them, without anywhere; nothing is lost.
    for (const char* filler : {"word ", "x"}) {
        SCOPED_TRACE(filler);
        std::string huge = "\\";
        while (huge.size() < 65536)
            huge += filler;
        const Lyrics lyrics = Words(SongOf({TextTrack({{10, huge}}, meta::kText, true)}));
        std::size_t start = 0, longest = 0;
        while (start <= lyrics.text.size()) {
            std::size_t end = std::min(lyrics.text.find('\n', start), lyrics.text.size());
            longest = std::max(longest, end - start);
            start = end + 1;
        }
        EXPECT_LE(longest, Lyrics::kMaxLineBytes);
        EXPECT_EQ(std::count(lyrics.text.begin(), lyrics.text.end(), filler[0]),
                  std::count(huge.begin(), huge.end(), filler[0]));
        EXPECT_EQ(lyrics.SungLength(10), lyrics.text.size());
        EXPECT_EQ(lyrics.SungLength(9), 0u);
    }
}

namespace fs = std::filesystem;

Lyrics WordsOfFile(const fs::path& path) {
    auto song = ReadMidiFile(path.string());
    EXPECT_TRUE(song.ok()) << path;
    return song.ok() ? ReadLyrics(song.value()) : Lyrics{};
}

TEST(Lyrics, ThePeerSuitesKaraokeFile) {
    const fs::path path = fs::path(SHUFFLON_PEER_MIDI_DIR) / "test-karaoke-kar.mid";
    if (!fs::exists(path))
        GTEST_SKIP() << path << " is missing; fetch ../shared/testdata to run this test.";
    const Lyrics lyrics = WordsOfFile(path);
    EXPECT_EQ(lyrics.text, "Mary was a little lame,\nLittle lame,\nLittle lame,\n"
                           "Mary was a little lame,\nA little lame was she!");
    // 100 ticks to a quarter note at 90 bpm: "ry " at tick 75 is sung at 500 ms, the last line's
    // "lit" at tick 1200 at 8 s.
    EXPECT_EQ(SungBy(lyrics, 499), "Ma");
    EXPECT_EQ(SungBy(lyrics, 500), "Mary ");
    EXPECT_EQ(SungBy(lyrics, 8000).substr(SungBy(lyrics, 8000).size() - 5), "A lit");
}

TEST(Lyrics, TheDemoKaraokeSongWhoseWordsTrackHasNoNotes) {
    const Lyrics lyrics = WordsOfFile(fs::path(SHUFFLON_DEMO_DIR) / "Amazing Grace.kar");
    EXPECT_EQ(lyrics.text, "Amazing grace! How sweet the sound\nThat saved a wretch like me!\n"
                           "I once was lost, but now am found,\nWas blind, but now I see.");
    EXPECT_EQ(lyrics.syllables.size(), 28u);
    EXPECT_EQ(SungBy(lyrics, 0), "A");
}

} // namespace
} // namespace midi::test
