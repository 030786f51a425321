#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "demogen/Notation.h"
#include "demogen/Smf.h"

// The pieces of the demo song generator whose slips would not show in the songs themselves: the
// byte encoding of the writer and the checks of the notation.

namespace {

using demogen::Bytes;
constexpr std::uint32_t kQuarter = demogen::kTicksPerQuarter;

Bytes VarLen(std::uint32_t value) {
    Bytes out;
    demogen::AppendVarLen(out, value);
    return out;
}

// The track body after the "MTrk" header and length.
Bytes Body(const demogen::Track& track, demogen::EncodeOptions options) {
    const Bytes chunk = track.Encode(options);
    return Bytes(chunk.begin() + 8, chunk.end());
}

TEST(SmfWriter, VariableLengthQuantities) {
    EXPECT_EQ(VarLen(0), Bytes({0x00}));
    EXPECT_EQ(VarLen(0x7F), Bytes({0x7F}));
    EXPECT_EQ(VarLen(0x80), Bytes({0x81, 0x00}));
    EXPECT_EQ(VarLen(0x3FFF), Bytes({0xFF, 0x7F}));
    EXPECT_EQ(VarLen(0x4000), Bytes({0x81, 0x80, 0x00}));
    EXPECT_EQ(VarLen(0x0FFFFFFF), Bytes({0xFF, 0xFF, 0xFF, 0x7F}));
    EXPECT_THROW(VarLen(0x10000000), std::invalid_argument);
}

TEST(SmfWriter, TrackBytesWithAndWithoutRunningStatus) {
    demogen::Track track("T");
    track.Note(0, 96, 2, 60, 100);
    track.Note(96, 96, 2, 62, 90);
    track.EndAtLeast(200);

    const Bytes name = {0x00, 0xFF, 0x03, 0x01, 'T'};
    Bytes plain = name;
    plain.insert(plain.end(), {0x00, 0x92, 60,   100,  0x60, 0x82, 60,   0x40, 0x00, 0x92,
                               62,   90,   0x60, 0x82, 62,   0x40, 0x08, 0xFF, 0x2F, 0x00});
    EXPECT_EQ(Body(track, {}), plain);

    // Note-offs as zero-velocity note-ons share one status byte for the whole run.
    Bytes compact = name;
    compact.insert(compact.end(),
                   {0x00, 0x92, 60, 100, 0x60, 60, 0, 0x00, 62, 90, 0x60, 62, 0, 0x08, 0xFF, 0x2F, 0x00});
    EXPECT_EQ(Body(track, {true, true}), compact);
}

TEST(SmfWriter, MetaEventsEndRunningStatus) {
    demogen::Track track("");
    track.Control(0, 0, 7, 100);
    track.Text(5, "x");
    track.Control(10, 0, 10, 64);
    // After the text event the second controller must repeat its status byte B0.
    const Bytes expected = {0x00, 0xFF, 0x03, 0x00, 0x00, 0xB0, 7,    100,  0x05, 0xFF, 0x01,
                            0x01, 'x',  0x05, 0xB0, 10,   64,   0x00, 0xFF, 0x2F, 0x00};
    EXPECT_EQ(Body(track, {true, false}), expected);
}

TEST(SmfWriter, SameTickOrderPutsNoteOffsBeforeNoteOns) {
    demogen::Track track("");
    track.Note(0, kQuarter, 0, 60, 80);
    track.Note(kQuarter, kQuarter, 0, 60, 80); // the same key struck again as the first one ends
    const Bytes body = Body(track, {});
    // Delta 0x83 0x60 (480) leads to the note-off of the first note, then the second note-on.
    const Bytes tail = {0x83, 0x60, 0x80, 60, 0x40, 0x00, 0x90, 60, 80};
    EXPECT_NE(std::search(body.begin(), body.end(), tail.begin(), tail.end()), body.end());
}

TEST(SmfWriter, RejectsWhatWouldMakeABrokenFile) {
    demogen::Track track("");
    EXPECT_THROW(track.Note(0, kQuarter, 16, 60, 80), std::invalid_argument);
    EXPECT_THROW(track.Note(0, kQuarter, 0, 128, 80), std::invalid_argument);
    EXPECT_THROW(track.Note(0, kQuarter, 0, 60, 0), std::invalid_argument);
    EXPECT_THROW(track.Note(0, 0, 0, 60, 80), std::invalid_argument);
    EXPECT_THROW(track.TimeSignature(0, 3, 5), std::invalid_argument);

    // Two overlapping notes on one key would be cut short by the first note-off.
    track.Note(0, 2 * kQuarter, 0, 60, 80);
    track.Note(kQuarter, 2 * kQuarter, 0, 60, 80);
    EXPECT_THROW(track.Encode({}), std::logic_error);

    EXPECT_THROW(demogen::WriteSmf(0, 480, {demogen::Track("a"), demogen::Track("b")}, {}),
                 std::invalid_argument);
}

TEST(SmfWriter, HeaderAndRmidWrapper) {
    const Bytes smf = demogen::WriteSmf(1, 480, {demogen::Track("a"), demogen::Track("")}, {});
    const Bytes header = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 2, 0x01, 0xE0};
    ASSERT_GE(smf.size(), header.size());
    EXPECT_EQ(Bytes(smf.begin(), smf.begin() + 14), header);

    const Bytes odd = {1, 2, 3};
    const Bytes wrapped = demogen::WrapInRmid(odd);
    const Bytes expected = {'R', 'I', 'F', 'F', 16, 0, 0, 0, 'R', 'M', 'I', 'D',
                            'd', 'a', 't', 'a', 3,  0, 0, 0, 1,   2,   3,   0};
    EXPECT_EQ(wrapped, expected);
    EXPECT_EQ(demogen::WrapInRmid({1, 2}).size(), 22u); // even: no pad byte
}

TEST(Notation, NotesDurationsTiesAndOctaves) {
    const demogen::Melody melody =
        demogen::ParseMelody("C4q. D4e E4h | Re B#3e~ C4e Cb4h", 4 * kQuarter, 100);
    ASSERT_EQ(melody.notes.size(), 5u);
    EXPECT_EQ(melody.notes[0].key, 60);
    EXPECT_EQ(melody.notes[0].start, 100u);
    EXPECT_EQ(melody.notes[0].length, kQuarter * 3 / 2);
    EXPECT_EQ(melody.notes[1].key, 62);
    EXPECT_EQ(melody.notes[2].length, 2 * kQuarter);
    // The rest moves time on; the tie makes B#3 and C4 one note of two eighths.
    EXPECT_EQ(melody.notes[3].key, 60);
    EXPECT_EQ(melody.notes[3].start, 100 + 4 * kQuarter + kQuarter / 2);
    EXPECT_EQ(melody.notes[3].length, kQuarter);
    EXPECT_EQ(melody.notes[4].key, 59); // Cb4 is B3
    EXPECT_EQ(melody.upbeat, 0u);
}

TEST(Notation, BarsMustBeFullExceptUpbeatAndEnd) {
    const demogen::Melody upbeat = demogen::ParseMelody("D4q | G4h. | B4h", 3 * kQuarter);
    EXPECT_EQ(upbeat.upbeat, kQuarter);
    EXPECT_EQ(upbeat.end, kQuarter + 5 * kQuarter);
    EXPECT_THROW(demogen::ParseMelody("D4q | G4h | B4h.", 3 * kQuarter), std::invalid_argument);
    EXPECT_THROW(demogen::ParseMelody("G4h. | A4h. B4q | C5h.", 3 * kQuarter), std::invalid_argument);
    EXPECT_THROW(demogen::ParseMelody("G4h. | A4w", 3 * kQuarter), std::invalid_argument);
    EXPECT_THROW(demogen::ParseMelody("C4q~ D4q", 4 * kQuarter), std::invalid_argument);
    EXPECT_THROW(demogen::ParseMelody("H4q", 4 * kQuarter), std::invalid_argument);
    EXPECT_THROW(demogen::ParseMelody("C4x", 4 * kQuarter), std::invalid_argument);
}

TEST(Notation, ChordsShareBarsOrTakeTheirDurations) {
    const auto chords = demogen::ParseChords("C | F C | G:h D7:q | N | Am/E", 3 * kQuarter, 480);
    ASSERT_EQ(chords.size(), 6u);
    EXPECT_EQ(chords[0].start, 480u);
    EXPECT_EQ(chords[0].length, 3 * kQuarter);
    EXPECT_EQ(chords[1].length, 3 * kQuarter / 2);
    EXPECT_EQ(chords[2].start, 480 + 3 * kQuarter + 3 * kQuarter / 2);
    EXPECT_EQ(chords[3].length, 2 * kQuarter);
    EXPECT_EQ(chords[4].root, 2);
    EXPECT_EQ(chords[4].tones, (std::vector<int>{0, 4, 7, 10}));
    // "N" leaves its bar empty: the next chord starts a bar later.
    EXPECT_EQ(chords[5].start, 480 + 4 * 3 * kQuarter);
    EXPECT_EQ(chords[5].root, 9);
    EXPECT_EQ(chords[5].bass, 4);
    EXPECT_EQ(chords[5].tones, (std::vector<int>{0, 3, 7}));
    EXPECT_THROW(demogen::ParseChords("C:h F:h", 3 * kQuarter, 0), std::invalid_argument);
    EXPECT_THROW(demogen::ParseChords("Csus4", 3 * kQuarter, 0), std::invalid_argument);
}

TEST(Notation, LyricsSyllablesSlursAndLines) {
    const std::vector<std::string> syllables = demogen::ParseLyrics("\\ A-ma-zing _ grace / That saved");
    const std::vector<std::string> expected = {"\\A", "ma", "zing", "", " grace", "/That", " saved"};
    EXPECT_EQ(syllables, expected);
}

} // namespace
