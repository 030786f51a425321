// What reaches the synthesiser and when: events on their exact frames whatever the block sizes,
// the chase of a seek, the silence of stop and close, and the in-memory sounds mixed over songs.

#include <cstring>

#include "DeviceFixture.h"
#include "SmfBuilder.h"

namespace mcitest {
namespace {

using TimingTest = DeviceTest;

struct Message {
    std::uint8_t status, data1, data2;
    bool operator==(const Message&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Message& m) {
    return out << std::hex << "{" << int(m.status) << " " << int(m.data1) << " " << int(m.data2) << "}"
               << std::dec;
}

std::vector<std::uint64_t> NoteOnFrames(const mci::RecordingSink& sink) {
    std::vector<std::uint64_t> frames;
    for (const auto& message : sink.Messages())
        if (message.IsNoteOn())
            frames.push_back(message.frame);
    return frames;
}

TEST_F(TimingTest, EventsReachTheSynthesiserOnTheirExactFrames) {
    const MCIDEVICEID id = OpenSong();
    ASSERT_EQ(Err(PlayNotify(id)), Err(0));
    // Steps that share no multiple with the song's frames, and a few single milliseconds.
    for (std::uint32_t step : {7u, 333u, 1u, 1u, 250u, 419u, 13u, 1000u})
        mci::AdvanceOffline(step);
    EXPECT_EQ(NoteOnFrames(*m_sink), kStandardNoteFrames);
    ASSERT_EQ(TakeNotices().size(), 1u);
}

TEST_F(TimingTest, RenderingInOddBlocksChangesNothing) {
    const MCIDEVICEID id = OpenSong();
    ASSERT_EQ(Err(PlayNotify(id)), Err(0));
    std::vector<float> left(4099), right(4099);
    for (int i = 0; i < 30; ++i)
        mci::RenderOffline(left.data(), right.data(), left.size() - static_cast<std::size_t>(i) * 97);
    EXPECT_EQ(NoteOnFrames(*m_sink), kStandardNoteFrames);
}

TEST_F(TimingTest, ManySmallStepsAddUpToTheSameTime) {
    const MCIDEVICEID id = OpenSong();
    ASSERT_EQ(Err(PlayNotify(id)), Err(0));
    for (int i = 0; i < 1000; ++i)
        mci::AdvanceOffline(1);
    EXPECT_EQ(m_sink->FramesRendered(), 44100u);
    EXPECT_EQ(StatusOf(id, MCI_STATUS_POSITION), 1000u);
}

TEST_F(TimingTest, PlayFromAndToCutOnExactFrames) {
    const MCIDEVICEID id = OpenSong();
    // From 0.5 s to 1.25 s: the notes at 0.5 s and 1.0 s, not the one on the end frame itself.
    ASSERT_EQ(Err(PlayNotify(id, kWindow, MCI_FROM | MCI_TO, 500, 1250)), Err(0));
    mci::AdvanceOffline(2000);
    EXPECT_EQ(NoteOnFrames(*m_sink), (std::vector<std::uint64_t>{0, 22050}));
    EXPECT_EQ(StatusOf(id, MCI_STATUS_POSITION), 1250u);
    // Going on from there sends the note on the boundary exactly once.
    m_sink->Clear();
    const std::uint64_t base = m_sink->FramesRendered();
    ASSERT_EQ(Err(PlayNotify(id)), Err(0));
    mci::AdvanceOffline(1000);
    EXPECT_EQ(NoteOnFrames(*m_sink), (std::vector<std::uint64_t>{base, base + 11025}));
}

TEST_F(TimingTest, OpeningSendsNothingAndClosingSilencesEveryChannel) {
    const MCIDEVICEID id = OpenSong();
    mci::AdvanceOffline(100);
    EXPECT_TRUE(m_sink->Messages().empty()) << "an open must not reset or change the synthesiser";
    ASSERT_EQ(Err(Close(id)), Err(0));
    mci::AdvanceOffline(10);
    std::vector<Message> expected;
    for (std::uint8_t channel = 0; channel < 16; ++channel) {
        const std::uint8_t control = 0xB0 | channel;
        expected.insert(expected.end(), {{control, 123, 0}, {control, 64, 0}, {control, 120, 0}});
    }
    std::vector<Message> got;
    for (const auto& message : m_sink->Messages())
        got.push_back({message.status, message.data1, message.data2});
    EXPECT_EQ(got, expected);
}

TEST_F(TimingTest, StopSilencesAndTheEndOnlyReleases) {
    const MCIDEVICEID id = OpenSong();
    ASSERT_EQ(Err(PlayNotify(id)), Err(0));
    mci::AdvanceOffline(600);
    m_sink->Clear();
    ASSERT_EQ(Err(mciSendCommand(id, MCI_STOP, 0, nullptr)), Err(0));
    mci::AdvanceOffline(10);
    ASSERT_EQ(m_sink->Messages().size(), 48u);
    EXPECT_EQ(m_sink->Messages()[2].data1, 120) << "stop cuts the sound";

    m_sink->Clear();
    const std::uint64_t base = m_sink->FramesRendered();
    ASSERT_EQ(Err(PlayNotify(id)), Err(0));
    mci::AdvanceOffline(2000);
    // At the end the last notes ring out: notes off and sustain off, no sound off.
    const auto& messages = m_sink->Messages();
    ASSERT_GE(messages.size(), 32u);
    for (std::size_t i = messages.size() - 32; i < messages.size(); ++i) {
        EXPECT_EQ(messages[i].status & 0xF0, 0xB0);
        EXPECT_TRUE(messages[i].data1 == 123 || messages[i].data1 == 64) << int(messages[i].data1);
        EXPECT_EQ(messages[i].frame, base + kStandardEndFrame - 26460)
            << "the release goes out on the end frame";
    }
}

TEST_F(TimingTest, ASeekChasesTheStateWithoutSoundingNotes) {
    // 120 bpm at 480 ticks a quarter: 960 ticks a second, so tick 960 is the seek position 1000 ms.
    SmfBuilder smf(0, 480);
    const int t = smf.AddTrack();
    const Bytes gmReset = {0x7E, 0x7F, 0x09, 0x01};
    smf.Add(t, 0, Sysex(gmReset));
    smf.Add(t, 0, Control(0, 0, 1)).Add(t, 0, Control(0, 32, 2)).Add(t, 0, Program(0, 10));
    smf.Add(t, 10, Control(0, 7, 80)).Add(t, 20, Control(0, 7, 90));
    smf.Add(t, 30, Control(1, 101, 0)).Add(t, 30, Control(1, 100, 0));
    smf.Add(t, 30, Control(1, 6, 12)).Add(t, 30, Control(1, 38, 0));
    smf.Add(t, 40, PitchBend(1, 0x3000));
    smf.Add(t, 50, NoteOn(0, 60, 100)).Add(t, 55, {0xA0, 60, 33});
    smf.Add(t, 60, Control(0, 0, 3));
    smf.Add(t, 70, Pressure(2, 55));
    smf.Add(t, 75, Control(3, 1, 64)).Add(t, 80, Control(3, 121, 0));
    smf.Add(t, 100, Control(0, 123, 0));
    smf.Add(t, 500, NoteOff(0, 60));
    smf.Add(t, 960, NoteOn(0, 62, 90)).Add(t, 1000, Control(0, 7, 20)).Add(t, 1400, NoteOff(0, 62));
    smf.EndAt(t, 1920);
    const std::string path = m_dir.Path("chase.mid");
    smf.WriteTo(path);

    MCIDEVICEID id = 0;
    ASSERT_EQ(Err(OpenFile(path, id)), Err(0));
    ASSERT_EQ(Err(SeekTo(id, 1000)), Err(0));
    EXPECT_EQ(StatusOf(id, MCI_STATUS_MODE), MCI_MODE_STOP);
    EXPECT_EQ(StatusOf(id, MCI_STATUS_POSITION), 1000u);
    mci::AdvanceOffline(5);
    EXPECT_TRUE(m_sink->Messages().empty()) << "the seek alone sends nothing";
    const std::uint64_t base = m_sink->FramesRendered();
    ASSERT_EQ(Err(PlayNotify(id)), Err(0));
    mci::AdvanceOffline(10);

    const std::vector<Message> expected = {
        {0xF0, 0, 0},                                  // the GM reset
        {0xB0, 32, 2},                                 // bank LSB, set again just below
        {0xB0, 0, 1},   {0xB0, 32, 2},  {0xC0, 10, 0}, // program 10 from the bank it was chosen in
        {0xB0, 7, 90},                                 // the last volume only
        {0xB1, 101, 0}, {0xB1, 100, 0},                // RPN 0 selected
        {0xB1, 101, 0}, {0xB1, 100, 0}, {0xB1, 6, 12}, // pitch bend range, with its parameter
        {0xB1, 101, 0}, {0xB1, 100, 0}, {0xB1, 38, 0}, {0xE1, 0x00, 0x60}, // pitch bend
        {0xB0, 0, 3},                   // the bank selected after the program
        {0xD2, 55, 0},                  // channel pressure
        {0xB3, 1, 64},  {0xB3, 121, 0}, // a controller and the reset after it
        {0x90, 62, 90},                 // the first note of the play
    };
    std::vector<Message> got;
    for (const auto& message : m_sink->Messages()) {
        got.push_back({message.status, message.data1, message.data2});
        EXPECT_EQ(message.frame, base) << "chase and first note go out before the first frame of the play";
    }
    EXPECT_EQ(got, expected);
    ASSERT_FALSE(m_sink->Messages().empty());
    EXPECT_EQ(m_sink->Messages()[0].sysex, gmReset);
}

// A RIFF WAVE of 16-bit samples.
Bytes Wave(std::uint16_t channels, std::uint32_t rate, const std::vector<std::int16_t>& samples) {
    Bytes out;
    auto put = [&out](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    };
    const std::uint32_t dataSize = static_cast<std::uint32_t>(samples.size() * 2);
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    put(36 + dataSize, 4);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put(16, 4);
    put(1, 2);
    put(channels, 2);
    put(rate, 4);
    put(rate * channels * 2, 4);
    put(channels * 2, 2);
    put(16, 2);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    put(dataSize, 4);
    for (std::int16_t sample : samples)
        put(static_cast<std::uint16_t>(sample), 2);
    return out;
}

TEST_F(TimingTest, AnInMemorySoundIsMixedIntoTheOutput) {
    const MCIDEVICEID id = OpenSong();
    ASSERT_EQ(Err(PlayNotify(id)), Err(0));
    const Bytes wave = Wave(2, 44100, {16384, -16384, 8192, -8192, 0, 32767});
    ASSERT_TRUE(mci::PlaySoundMemory(wave.data(), wave.size()));
    std::vector<float> left(8, 1.0f), right(8, 1.0f);
    mci::RenderOffline(left.data(), right.data(), left.size());
    // The recording sink renders silence, so what comes out is the sound alone.
    EXPECT_EQ(left, (std::vector<float>{0.5f, 0.25f, 0.0f, 0, 0, 0, 0, 0}));
    EXPECT_EQ(right, (std::vector<float>{-0.5f, -0.25f, 32767 / 32768.0f, 0, 0, 0, 0, 0}));

    EXPECT_FALSE(mci::PlaySoundMemory("RIFF....WAVEjunk", 16));
}

TEST_F(TimingTest, ANewSoundReplacesTheOneThatPlays) {
    const Bytes longSound = Wave(1, 44100, std::vector<std::int16_t>(100, 16384));
    const Bytes shortSound = Wave(1, 44100, {-16384, -16384});
    ASSERT_TRUE(mci::PlaySoundMemory(longSound.data(), longSound.size()));
    std::vector<float> left(4), right(4);
    mci::RenderOffline(left.data(), right.data(), 4);
    EXPECT_EQ(left[3], 0.5f);
    ASSERT_TRUE(mci::PlaySoundMemory(shortSound.data(), shortSound.size()));
    mci::RenderOffline(left.data(), right.data(), 4);
    EXPECT_EQ(left, (std::vector<float>{-0.5f, -0.5f, 0, 0}));
    ASSERT_TRUE(mci::PlaySoundMemory(longSound.data(), longSound.size()));
    ASSERT_TRUE(mci::PlaySoundMemory(nullptr, 0)) << "no sound stops the one playing";
    mci::RenderOffline(left.data(), right.data(), 4);
    EXPECT_EQ(left, (std::vector<float>{0, 0, 0, 0}));
}

} // namespace
} // namespace mcitest
