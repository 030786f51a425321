// The reader on broken files: what it refuses, with which kind and offset, and what it tolerates
// the way lenient players do.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "SmfBuilder.h"

namespace midi::test {
namespace {

const Bytes kScale = Cat({NoteOn(0, 0, 60), NoteOff(96, 0, 60), NoteOn(0, 0, 62), NoteOff(96, 0, 62)});

void ExpectRefused(const Bytes& file, ReadErrorKind kind, std::size_t offset) {
    const auto result = Parse(file);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().kind, kind) << DescribeReadError(result.error());
    EXPECT_EQ(result.error().offset, offset) << DescribeReadError(result.error());
}

bool HasRepairAt(const Song& song, std::size_t offset) {
    return std::any_of(song.repairs.begin(), song.repairs.end(),
                       [&](const ReadError& r) { return r.offset == offset; });
}

TEST(ReaderRefuses, FilesThatAreNotMidi) {
    ExpectRefused({}, ReadErrorKind::NotMidi, 0);
    ExpectRefused(Text("not a midi file"), ReadErrorKind::NotMidi, 0);
    ExpectRefused(Cat({Text("RIFF"), Le32(4), Text("WAVE")}), ReadErrorKind::NotMidi, 8);
    ExpectRefused(Bytes{'R', 'I', 'F', 'F', 'Q', 0}, ReadErrorKind::NotMidi, 6); // never past the end
    // A MIDI header buried deeper than any real prefix is not looked for.
    ExpectRefused(Cat({Bytes(5000, 0x20), SimpleFile(EndOfTrack())}), ReadErrorKind::NotMidi, 0);
}

TEST(ReaderRefuses, HeadersThatCannotBeUsed) {
    ExpectRefused(Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0}, ReadErrorKind::Damaged, 9);
    ExpectRefused(Cat({Text("MThd"), Be32(4), {0, 0, 0, 1, 0, 96}, Track(EndOfTrack())}),
                  ReadErrorKind::Damaged, 4);
    ExpectRefused(Cat({Header(0, 1, 0), Track(EndOfTrack())}), ReadErrorKind::Damaged, 12);
    ExpectRefused(Cat({Header(0, 1, 0xE700), Track(EndOfTrack())}), ReadErrorKind::Damaged, 12);
    ExpectRefused(Header(1, 2, 96), ReadErrorKind::Damaged, 14);
    ExpectRefused(Cat({Header(1, 1, 96), Chunk("XFIH", Text("info"))}), ReadErrorKind::Damaged, 26);
}

TEST(ReaderRefuses, InputsLargerThanTheLimit) {
    const Bytes huge(kMaxFileSize + 1, 0);
    ExpectRefused(huge, ReadErrorKind::TooLarge, kMaxFileSize);
}

TEST(ReaderTolerates, HeaderWithoutTracksWhenItDeclaresNone) {
    const auto result = Parse(Header(0, 0, 96));
    ASSERT_TRUE(result.ok());
    EXPECT_TRUE(result.value().events.empty());
    EXPECT_EQ(result.value().lengthMicros, 0u);
}

TEST(ReaderTolerates, TrackLengthPastTheEndOfTheFile) {
    Bytes file = SimpleFile(Cat({kScale, EndOfTrack()}));
    file[21] += 100; // low byte of the MTrk length
    const auto result = Parse(file);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(NoteOnKeys(result.value()), (std::vector<int>{60, 62}));
    EXPECT_TRUE(HasRepairAt(result.value(), 18));
}

TEST(ReaderTolerates, MissingEndOfTrackAndCutOffEndOfTrack) {
    const Bytes missing = SimpleFile(kScale);
    auto result = Parse(missing);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.value().lengthTicks, 192u);
    EXPECT_TRUE(HasRepairAt(result.value(), missing.size()));

    // The last byte of the file is gone: "FF 2F" without its length still ends the track.
    Bytes cut = SimpleFile(Cat({kScale, EndOfTrack(96)}));
    cut.pop_back();
    result = Parse(cut);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.value().lengthTicks, 288u);
    EXPECT_EQ(result.value().events.back().data1, meta::kEndOfTrack);
}

TEST(ReaderTolerates, UnknownChunksJunkAndDataAfterTheLastTrack) {
    const Bytes file = Cat({Header(1, 2, 96), Chunk("Junk", Text("skip me")),
                            Track(Cat({kScale, EndOfTrack()})), Bytes{0x00, 0x13, 0x88},
                            Track(Cat({NoteOn(0, 1, 70), EndOfTrack()})), Text("trailing garbage")});
    const auto result = Parse(file);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.value().tracksRead, 2);
    EXPECT_EQ(NoteOnKeys(result.value()), (std::vector<int>{60, 70, 62}));
    EXPECT_TRUE(HasRepairAt(result.value(), 14)); // the unknown chunk
}

TEST(ReaderTolerates, WrongTrackCountsInTheHeader) {
    const Bytes two =
        Cat({Track(Cat({NoteOn(0, 0, 60), EndOfTrack()})), Track(Cat({NoteOn(0, 1, 61), EndOfTrack()}))});
    for (const std::uint16_t declared : {1, 5}) {
        const auto result = Parse(Cat({Header(1, declared, 96), two}));
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(result.value().declaredTracks, declared);
        EXPECT_EQ(result.value().tracksRead, 2);
        EXPECT_EQ(NoteOnKeys(result.value()).size(), 2u);
    }
}

TEST(ReaderTolerates, StraySystemMessagesAreSkippedWithTheirDataBytes) {
    // Each stray message sits between two notes; running status goes on across them.
    for (const Bytes& stray : {Bytes{0xF1, 0x7F}, Bytes{0xF2, 0x7F, 0x7F}, Bytes{0xF3, 0x01}, Bytes{0xF4},
                               Bytes{0xF5}, Bytes{0xF6}, Bytes{0xF8}, Bytes{0xF9}, Bytes{0xFA}, Bytes{0xFB},
                               Bytes{0xFC}, Bytes{0xFD}, Bytes{0xFE}}) {
        SCOPED_TRACE(static_cast<int>(stray[0]));
        const auto result = Parse(
            SimpleFile(Cat({NoteOn(0, 0, 60), Bytes{0x10}, stray, Bytes{0x10, 62, 100}, EndOfTrack()})));
        ASSERT_TRUE(result.ok());
        const Song& song = result.value();
        EXPECT_EQ(NoteOnKeys(song), (std::vector<int>{60, 62}));
        EXPECT_EQ(song.events[1].tick, 32u); // both delta times count
        EXPECT_EQ(song.events.size(), 3u);   // the stray message itself is not played
        EXPECT_TRUE(HasRepairAt(song, 26));
    }
}

TEST(ReaderTolerates, JunkBeforeTheHeaderAndAWrongHeaderLength) {
    const Bytes macBinary = Cat({Bytes(128, 0), SimpleFile(Cat({kScale, EndOfTrack()}))});
    auto result = Parse(macBinary);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(NoteOnKeys(result.value()), (std::vector<int>{60, 62}));

    // A longer header is skipped by its length; a length that is plainly wrong is ignored when a
    // track follows the six standard bytes.
    result = Parse(Cat({Text("MThd"), Be32(8), {0, 0, 0, 1, 0, 96, 0xAA, 0xBB}, Track(kScale)}));
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(NoteOnKeys(result.value()).size(), 2u);
    result = Parse(Cat({Text("MThd"), Be32(0x7FFFFFFF), {0, 0, 0, 1, 0, 96}, Track(kScale)}));
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(NoteOnKeys(result.value()).size(), 2u);
}

TEST(ReaderTolerates, ATrackLengthTooLongForTheTrackThatFollows) {
    Bytes first = Track(Cat({NoteOn(0, 0, 60), EndOfTrack()}));
    first[7] += 40; // claims 40 bytes more than there are before the next track
    const Bytes file =
        Cat({Header(1, 2, 96), first, Track(Cat({NoteOn(0, 1, 61), EndOfTrack()})), Bytes(64, 0x00)});
    const auto result = Parse(file);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.value().tracksRead, 2);
    EXPECT_EQ(NoteOnKeys(result.value()), (std::vector<int>{60, 61}));
}

TEST(ReaderTolerates, BrokenEventsEndTheirTrackButKeepWhatCameBefore) {
    struct Case {
        const char* name;
        Bytes tail;
    };
    const std::vector<Case> cases = {
        {"delta time of five bytes", {0x81, 0x81, 0x81, 0x81, 0x01, 0x90, 64, 100}},
        {"sysex longer than the track", {0x00, 0xF0, 0x20, 0x01, 0x02}},
        {"meta longer than the track", {0x00, 0xFF, 0x01, 0x40, 'a'}},
        {"channel message cut short", {0x00, 0x90, 64}},
        {"delta time cut short", {0x81}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The second track keeps a running status of its own that must not leak into the first.
        const std::size_t tailOffset = 14 + 8 + kScale.size();
        const Bytes file = Cat(
            {Header(1, 2, 96), Track(Cat({kScale, c.tail})), Track(Cat({NoteOn(0, 0, 72), EndOfTrack()}))});
        const auto result = Parse(file);
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(NoteOnKeys(result.value()), (std::vector<int>{60, 72, 62}));
        EXPECT_EQ(result.value().tracksRead, 2);
        EXPECT_TRUE(HasRepairAt(result.value(), tailOffset) || HasRepairAt(result.value(), tailOffset + 1))
            << c.name;
    }
}

TEST(ReaderTolerates, DataBytesBeforeAnyStatusEndTheTrack) {
    const Bytes file =
        Cat({Header(1, 2, 96), Track(Cat({{0x00, 64, 100}, kScale})), Track(Cat({NoteOn(0, 0, 72)}))});
    const auto result = Parse(file);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(NoteOnKeys(result.value()), (std::vector<int>{72}));
    EXPECT_TRUE(HasRepairAt(result.value(), 23));
}

TEST(ReaderTolerates, OddValuesInsideEvents) {
    const auto result = Parse(
        SimpleFile(Cat({{0x00, 0xFF, 0x51, 0x02, 0x07, 0xA1}, {0x00, 0x90, 0xBC, 0x64}, EndOfTrack(96)})));
    ASSERT_TRUE(result.ok());
    const Song& song = result.value();
    EXPECT_EQ(song.lengthMicros, 500000u);                 // the two-byte tempo was ignored
    EXPECT_EQ(NoteOnKeys(song), (std::vector<int>{0x3C})); // a data byte above 127 lost its top bit
    EXPECT_EQ(song.repairs.size(), 2u);
}

TEST(ReaderTolerates, RepairListStaysShortWhateverTheFileHolds) {
    Bytes events;
    for (int i = 0; i < 5000; ++i)
        events.insert(events.end(), {0x00, 0xF8});
    const auto result = Parse(SimpleFile(Cat({events, NoteOn(0, 0, 60), EndOfTrack()})));
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.value().repairs.size(), Song::kMaxRepairs);
    EXPECT_EQ(NoteOnKeys(result.value()), (std::vector<int>{60}));
}

// Whatever a damaged file holds, the reader returns a song whose events and payload are
// consistent, or an error pointing into the file. Mutations of a file that uses every feature
// reach most of the reader's branches in a fraction of a second.
TEST(ReaderRobustness, MutatedFilesGiveConsistentSongsOrErrors) {
    const Bytes base = Cat(
        {Header(1, 3, 96), Track(Cat({Tempo(0, 400000), Meta(0, 1, Text("hi")), EndOfTrack(300)})),
         Track(Cat(
             {kScale, {0x00, 0xF0, 0x03, 0x41, 0x10, 0xF7}, {0x00, 0xC0, 0x05}, {0x10, 0x06}, EndOfTrack()})),
         Chunk("Junk", Text("abc")), Track(Cat({NoteOn(7, 9, 36), NoteOff(7, 9, 36), EndOfTrack()}))});
    std::mt19937 random(20240611);
    for (int round = 0; round < 4000; ++round) {
        Bytes file = base;
        const int edits = 1 + static_cast<int>(random() % 4);
        for (int e = 0; e < edits && !file.empty(); ++e) {
            const std::size_t at = random() % file.size();
            switch (random() % 4) {
            case 0:
                file[at] = static_cast<std::uint8_t>(random());
                break;
            case 1:
                file[at] ^= static_cast<std::uint8_t>(1u << (random() % 8));
                break;
            case 2:
                file.erase(file.begin() + static_cast<std::ptrdiff_t>(at));
                break;
            default:
                file.resize(at + 1);
                break;
            }
        }
        const auto result = Parse(file);
        if (!result.ok()) {
            ASSERT_LE(result.error().offset, file.size());
            continue;
        }
        const Song& song = result.value();
        ASSERT_TRUE(std::is_sorted(song.events.begin(), song.events.end(), PlaysBefore));
        ASSERT_LE(song.events.size(), file.size() / 2);
        ASSERT_LE(song.payload.size(), file.size());
        for (const Event& e : song.events) {
            ASSERT_LE(std::size_t{e.payloadOffset} + e.payloadSize, song.payload.size());
            ASSERT_EQ(e.micros, song.tempo.MicrosAt(e.tick));
            ASSERT_LT(e.track, song.tracksRead);
        }
        if (!song.events.empty()) {
            ASSERT_EQ(song.lengthMicros, song.events.back().micros);
        }
    }
}

} // namespace
} // namespace midi::test
