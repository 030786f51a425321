// Turning a read song into what the real-time sequencer plays.

#include <gtest/gtest.h>

#include "SmfBuilder.h"
#include "platform/mci/PlayableSong.h"
#include "platform/midi/MidiFile.h"

namespace mcitest {
namespace {

mci::PlayableSong Build(const SmfBuilder& smf) {
    const Bytes bytes = smf.Build();
    auto song = midi::ParseMidi(bytes);
    EXPECT_TRUE(song.ok());
    return mci::BuildPlayableSong(song.value());
}

TEST(PlayableSong, MillisecondsAndFramesConvertBackExactly) {
    for (std::uint32_t ms = 0; ms < 200000; ms += 7)
        ASSERT_EQ(mci::MsOfFrame(mci::FrameOfMs(ms)), ms);
    EXPECT_EQ(mci::FrameOfMs(1000), 44100u);
    EXPECT_EQ(mci::FrameOfMs(1), 45u) << "the first frame not before 1 ms";
    EXPECT_EQ(mci::MsOfFrame(44), 0u);
    EXPECT_EQ(mci::FrameOfMs(0xFFFFFFFF), (std::uint64_t{0xFFFFFFFF} * 44100 + 999) / 1000);
}

TEST(PlayableSong, FramesFollowTheTempoMapAndMetaEventsAreLeftOut) {
    SmfBuilder smf(1, 96);
    const int tempo = smf.AddTrack();
    smf.Add(tempo, 0, Tempo(600000)).Add(tempo, 96, Tempo(300000));
    const int music = smf.AddTrack();
    smf.Add(music, 0, NoteOn(0, 60, 1)).Add(music, 96, NoteOn(0, 61, 1)).Add(music, 192, NoteOn(0, 62, 1));
    smf.Add(music, 100, {0xFF, 0x05, 0x02, 'l', 'a'});
    smf.EndAt(music, 288);
    const mci::PlayableSong song = Build(smf);
    ASSERT_EQ(song.events.size(), 3u);
    EXPECT_EQ(song.events[0].frame, 0u);
    EXPECT_EQ(song.events[1].frame, 26460u); // 0.6 s
    EXPECT_EQ(song.events[2].frame, 39690u); // 0.9 s
    EXPECT_EQ(song.endFrame, 52920u);        // 1.2 s
    EXPECT_EQ(song.lengthMs, 1200u);
    EXPECT_EQ(song.FirstEventAt(1), 1u);
    EXPECT_EQ(song.FirstEventAt(26460), 1u);
    EXPECT_EQ(song.FirstEventAt(60000), 3u);
}

TEST(PlayableSong, SystemExclusivePacketsAreJoinedAndEscapesUnwrapped) {
    SmfBuilder smf(0, 96);
    const int t = smf.AddTrack();
    smf.Add(t, 0, Sysex({0x41, 0x10}, false));        // first packet
    smf.Add(t, 5, Escape({0x42, 0x12}));              // more
    smf.Add(t, 10, Escape({0x40, 0xF7}));             // last: the message goes out here
    smf.Add(t, 20, Escape({0xF0, 0x7E, 0x7F, 0xF7})); // a whole message as an escape
    smf.Add(t, 30, Escape({0x91, 0x40, 0x50}));       // a channel message as an escape
    smf.Add(t, 40, Escape({0xF8}));                   // a real-time byte: nothing for a synthesiser
    smf.Add(t, 50, Sysex({0x7E, 0x7F, 0x09, 0x01}));
    const mci::PlayableSong song = Build(smf);
    ASSERT_EQ(song.events.size(), 4u);
    EXPECT_TRUE(song.events[0].IsSysex());
    EXPECT_EQ(song.events[0].frame, 10u * 44100 / 192);
    const auto joined = song.PayloadOf(song.events[0]);
    EXPECT_EQ(Bytes(joined.begin(), joined.end()), (Bytes{0x41, 0x10, 0x42, 0x12, 0x40}));
    const auto escaped = song.PayloadOf(song.events[1]);
    EXPECT_EQ(Bytes(escaped.begin(), escaped.end()), (Bytes{0x7E, 0x7F}));
    EXPECT_EQ(song.events[2].status, 0x91);
    EXPECT_EQ(song.events[2].data2, 0x50);
    const auto reset = song.PayloadOf(song.events[3]);
    EXPECT_EQ(Bytes(reset.begin(), reset.end()), (Bytes{0x7E, 0x7F, 0x09, 0x01}));
}

TEST(PlayableSong, AnEmptySongHasNoLength) {
    SmfBuilder smf(0, 96);
    smf.AddTrack();
    const mci::PlayableSong song = Build(smf);
    EXPECT_TRUE(song.events.empty());
    EXPECT_EQ(song.endFrame, 0u);
    EXPECT_EQ(song.lengthMs, 0u);
}

} // namespace
} // namespace mcitest
