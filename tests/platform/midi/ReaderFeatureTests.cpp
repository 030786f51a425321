// The reader on hand-built files that use each feature of the format correctly.

#include <gtest/gtest.h>

#include <string>

#include "SmfBuilder.h"

namespace midi::test {
namespace {

std::string PayloadText(const Song& song, const Event& e) {
    const auto bytes = song.PayloadOf(e);
    return std::string(bytes.begin(), bytes.end());
}

TEST(ReaderFormat0, EventsGetTicksTimesAndData) {
    const Bytes file =
        SimpleFile(Cat({NoteOn(0, 0, 60), NoteOff(96, 0, 60), Vlq(48), {0xC1, 5}, EndOfTrack(48)}));
    const auto result = Parse(file);
    ASSERT_TRUE(result.ok()) << DescribeReadError(result.error());
    const Song& song = result.value();
    EXPECT_EQ(song.format, 0);
    EXPECT_EQ(song.declaredTracks, 1);
    EXPECT_EQ(song.tracksRead, 1);
    EXPECT_FALSE(song.smpte);
    EXPECT_EQ(song.ticksPerQuarter, 96);
    EXPECT_EQ(song.rawDivision, 96);
    EXPECT_FALSE(song.rmid);
    EXPECT_TRUE(song.repairs.empty());

    ASSERT_EQ(song.events.size(), 4u);
    EXPECT_EQ(song.events[0].status, 0x90);
    EXPECT_EQ(song.events[0].data1, 60);
    EXPECT_EQ(song.events[0].data2, 100);
    EXPECT_EQ(song.events[1].tick, 96u);
    EXPECT_EQ(song.events[1].micros, 500000u); // 96 ticks are a quarter note at 120 bpm
    EXPECT_EQ(song.events[2].status, 0xC1);    // program change: one data byte
    EXPECT_EQ(song.events[2].data1, 5);
    EXPECT_EQ(song.events[2].data2, 0);
    EXPECT_EQ(song.events[2].tick, 144u);
    EXPECT_EQ(song.events[3].status, 0xFF);
    EXPECT_EQ(song.events[3].data1, meta::kEndOfTrack);
    EXPECT_EQ(song.lengthTicks, 192u);
    EXPECT_EQ(song.lengthMicros, 1000000u);
}

TEST(ReaderRunningStatus, ContinuesAcrossDataOnlyEvents) {
    // 90 3C 64, then three notes and a one-byte program change run on without status bytes.
    const Bytes file = SimpleFile(Cat(
        {{0x00, 0x90, 60, 100}, {0x10, 62, 100}, {0x10, 64, 0}, {0x00, 0xC0, 7}, {0x10, 9}, EndOfTrack()}));
    const auto result = Parse(file);
    ASSERT_TRUE(result.ok());
    const auto& events = result.value().events;
    ASSERT_EQ(events.size(), 6u);
    EXPECT_EQ(events[1].status, 0x90);
    EXPECT_EQ(events[1].data1, 62);
    EXPECT_EQ(events[2].tick, 32u);
    EXPECT_TRUE(events[2].IsNoteOff()); // note-on with velocity 0
    EXPECT_EQ(events[4].status, 0xC0);
    EXPECT_EQ(events[4].data1, 9);
    EXPECT_TRUE(result.value().repairs.empty());
}

TEST(ReaderRunningStatus, SurvivesMetaAndSysexEvents) {
    // Real files interrupt a run with a lyric or a sysex and go on without a status byte; the
    // players they were made for keep the running status, and so do we.
    const Bytes file = SimpleFile(Cat({{0x00, 0x91, 60, 100},
                                       Meta(0, meta::kLyric, Text("la")),
                                       {0x10, 62, 100},
                                       {0x00, 0xF0, 0x03, 0x7E, 0x01, 0xF7},
                                       {0x10, 64, 100},
                                       {0x00, 0xF7, 0x01, 0xF8},
                                       {0x10, 65, 100},
                                       EndOfTrack()}));
    const auto result = Parse(file);
    ASSERT_TRUE(result.ok());
    const Song& song = result.value();
    EXPECT_EQ(NoteOnKeys(song), (std::vector<int>{60, 62, 64, 65}));
    for (const Event* e : EventsWithStatus(song, 0x91))
        EXPECT_EQ(e->track, 0);
    EXPECT_EQ(EventsWithStatus(song, 0x91).size(), 4u);
    EXPECT_TRUE(song.repairs.empty());
}

TEST(ReaderSysex, F0PayloadDropsItsFrameAndF7PacketsStayRaw) {
    const Bytes file = SimpleFile(Cat({{0x00, 0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7},
                                       // A message split in packets: F0 without F7, then an F7 escape.
                                       {0x00, 0xF0, 0x02, 0x43, 0x10},
                                       {0x05, 0xF7, 0x02, 0x4C, 0xF7},
                                       EndOfTrack()}));
    const auto result = Parse(file);
    ASSERT_TRUE(result.ok());
    const Song& song = result.value();
    const auto f0 = EventsWithStatus(song, 0xF0);
    ASSERT_EQ(f0.size(), 2u);
    EXPECT_EQ(f0[0]->data1, 1); // complete
    const auto first = song.PayloadOf(*f0[0]);
    EXPECT_EQ(Bytes(first.begin(), first.end()), (Bytes{0x7E, 0x7F, 0x09, 0x01}));
    EXPECT_EQ(f0[1]->data1, 0); // continues in the next packet
    const auto f7 = EventsWithStatus(song, 0xF7);
    ASSERT_EQ(f7.size(), 1u);
    EXPECT_EQ(f7[0]->tick, 5u);
    const auto escape = song.PayloadOf(*f7[0]);
    EXPECT_EQ(Bytes(escape.begin(), escape.end()), (Bytes{0x4C, 0xF7}));
}

TEST(ReaderMeta, TextLyricsAndTempoAreKeptWithTheirData) {
    const Bytes file = SimpleFile(
        Cat({Meta(0, meta::kTrackName, Text("Song")), Tempo(0, 250000), Meta(96, meta::kLyric, Text("Hel")),
             Meta(96, meta::kLyric, Text("lo")), EndOfTrack()}));
    const auto result = Parse(file);
    ASSERT_TRUE(result.ok());
    const Song& song = result.value();
    const auto metas = EventsWithStatus(song, 0xFF);
    ASSERT_EQ(metas.size(), 5u);
    EXPECT_EQ(PayloadText(song, *metas[0]), "Song");
    EXPECT_EQ(metas[1]->data1, meta::kTempo);
    EXPECT_EQ(song.PayloadOf(*metas[1]).size(), 3u);
    EXPECT_EQ(PayloadText(song, *metas[2]), "Hel");
    EXPECT_EQ(metas[2]->micros, 250000u); // the tempo doubled the speed
    EXPECT_EQ(PayloadText(song, *metas[3]), "lo");
    EXPECT_EQ(metas[3]->micros, 500000u);
    EXPECT_EQ(song.tempo.MicrosPerQuarterAt(0), 250000u);
}

TEST(ReaderFormat1, TracksAreMergedAndTempoFromAnyTrackApplies) {
    const Bytes file = Cat({Header(1, 3, 96), Track(Cat({Tempo(0, 1000000), EndOfTrack(192)})),
                            Track(Cat({NoteOn(0, 0, 60), NoteOff(96, 0, 60), EndOfTrack()})),
                            Track(Cat({NoteOn(48, 1, 64), Tempo(48, 500000), NoteOff(0, 1, 64),
                                       NoteOn(96, 1, 65), EndOfTrack()}))});
    const auto result = Parse(file);
    ASSERT_TRUE(result.ok());
    const Song& song = result.value();
    EXPECT_EQ(song.tracksRead, 3);
    EXPECT_TRUE(std::is_sorted(song.events.begin(), song.events.end(), PlaysBefore));
    EXPECT_EQ(NoteOnKeys(song), (std::vector<int>{60, 64, 65}));
    // One second per quarter until the third track's tempo change at tick 96, then half that.
    const auto ons = EventsWithStatus(song, 0x91);
    ASSERT_EQ(ons.size(), 2u);
    EXPECT_EQ(ons[0]->micros, 500000u);
    EXPECT_EQ(ons[1]->tick, 192u);
    EXPECT_EQ(ons[1]->micros, 1500000u);
    EXPECT_EQ(song.lengthTicks, 192u);
    EXPECT_EQ(song.lengthMicros, 1500000u);
}

TEST(ReaderFormat2, TracksPlayOneAfterAnother) {
    const Bytes file =
        Cat({Header(2, 2, 96), Track(Cat({NoteOn(0, 0, 60), NoteOff(96, 0, 60), EndOfTrack(96)})),
             Track(Cat({NoteOn(0, 0, 62), NoteOff(96, 0, 62), EndOfTrack()}))});
    const auto result = Parse(file);
    ASSERT_TRUE(result.ok());
    const Song& song = result.value();
    const auto ons = EventsWithStatus(song, 0x90);
    ASSERT_EQ(ons.size(), 2u);
    EXPECT_EQ(ons[1]->track, 1);
    EXPECT_EQ(ons[1]->tick, 192u); // the second track starts where the first one's end of track is
    EXPECT_EQ(song.lengthTicks, 288u);
    EXPECT_EQ(song.lengthMicros, 1500000u);
}

TEST(ReaderSmpte, TimecodeDivisionsIgnoreTempo) {
    // 25 frames of 40 ticks: one tick is one millisecond whatever the tempo says.
    const Bytes file =
        Cat({Header(0, 1, 0xE728), Track(Cat({Tempo(0, 250000), NoteOn(1000, 0, 60), EndOfTrack(1500)}))});
    const auto result = Parse(file);
    ASSERT_TRUE(result.ok());
    const Song& song = result.value();
    EXPECT_TRUE(song.smpte);
    EXPECT_EQ(song.smpteFramesPerSecond, 25);
    EXPECT_EQ(song.ticksPerFrame, 40);
    EXPECT_EQ(song.ticksPerQuarter, 0);
    EXPECT_EQ(EventsWithStatus(song, 0x90)[0]->micros, 1000000u);
    EXPECT_EQ(song.lengthMicros, 2500000u);
}

TEST(ReaderSmpte, DropFrameRunsAt29Point97FramesPerSecond) {
    // -29 (0xE3) with 100 ticks per frame: 30 frames take 1001/1000 of a second.
    const Bytes file = Cat({Header(0, 1, 0xE364), Track(EndOfTrack(3000))});
    const auto result = Parse(file);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.value().smpteFramesPerSecond, 29);
    EXPECT_EQ(result.value().lengthMicros, 1001000u);
}

Bytes Rmid(const std::initializer_list<Bytes> chunks) {
    const Bytes body = Cat({Text("RMID"), Cat(chunks)});
    return Cat({Text("RIFF"), Le32(static_cast<std::uint32_t>(body.size())), body});
}

Bytes RiffChunk(const std::string& tag, const Bytes& body, bool pad = true) {
    Bytes chunk = Cat({Text(tag), Le32(static_cast<std::uint32_t>(body.size())), body});
    if (pad && body.size() % 2 == 1)
        chunk.push_back(0);
    return chunk;
}

TEST(ReaderRmid, DataChunkIsFoundAfterOtherChunks) {
    const Bytes smf = SimpleFile(Cat({NoteOn(0, 0, 60), EndOfTrack(96)}));
    for (const bool pad : {true, false}) {
        SCOPED_TRACE(pad ? "padded" : "pad byte missing");
        const Bytes file = Rmid({RiffChunk("INFO", Text("odd"), pad), RiffChunk("data", smf)});
        const auto result = Parse(file);
        ASSERT_TRUE(result.ok()) << DescribeReadError(result.error());
        EXPECT_TRUE(result.value().rmid);
        EXPECT_EQ(NoteOnKeys(result.value()), (std::vector<int>{60}));
        EXPECT_EQ(result.value().lengthMicros, 500000u);
    }
}

TEST(ReaderRmid, WrongRiffSizeAndTrailingChunksAreTolerated) {
    Bytes file = Rmid({RiffChunk("data", SimpleFile(EndOfTrack(96))), RiffChunk("DISP", Text("xy"))});
    file[4] = 0xFF; // RIFF size far past the end
    const auto result = Parse(file);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.value().lengthMicros, 500000u);
}

TEST(ReaderRmid, OffsetsOfErrorsCountFromTheStartOfTheRiffFile) {
    // The SMF inside has a zero division; the offset names the byte in the .rmi file.
    const Bytes file = Rmid({RiffChunk("data", Cat({Header(0, 1, 0), Track(EndOfTrack())}))});
    const auto result = Parse(file);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().kind, ReadErrorKind::Damaged);
    EXPECT_EQ(result.error().offset, 20u + 12u);
}

TEST(ReaderKaraoke, LyricsComeInPlayOrderWithTheirTimes) {
    // .kar files carry their words as text events in a track of their own.
    const Bytes file =
        Cat({Header(1, 2, 96),
             Track(Cat({Meta(0, meta::kText, Text("@TTitle")), Meta(96, meta::kText, Text("/Ma")),
                        Meta(48, meta::kText, Text("ry")), EndOfTrack()})),
             Track(Cat({NoteOn(96, 0, 64), NoteOn(48, 0, 62), EndOfTrack()}))});
    const auto result = Parse(file);
    ASSERT_TRUE(result.ok());
    const Song& song = result.value();
    std::vector<std::string> words;
    for (const Event& e : song.events) {
        if (e.IsMeta() && e.data1 == meta::kText)
            words.push_back(PayloadText(song, e) + "@" + std::to_string(e.micros));
    }
    EXPECT_EQ(words, (std::vector<std::string>{"@TTitle@0", "/Ma@500000", "ry@750000"}));
}

} // namespace
} // namespace midi::test
