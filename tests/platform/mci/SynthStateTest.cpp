// The device over the real FluidSynth synthesiser with the system's General MIDI SoundFont (the
// tests skip where there is none): a seek chases the same channel state as playing from the
// start, closing silences without forgetting, and opening a song resets nothing.

#include <gtest/gtest.h>

#include <cmath>

#include <fluidsynth.h>

#include "DeviceFixture.h"
#include "SmfBuilder.h"
#include "platform/mci/FluidSynthSink.h"
#include "platform/mci/SoundFont.h"

namespace mcitest {
namespace {

struct ChannelState {
    int soundFont = 0, bank = 0, preset = 0;
    int controllers[120] = {};
    int pitchBend = 0, bendRange = 0;
    bool operator==(const ChannelState&) const = default;
};

std::ostream& operator<<(std::ostream& out, const ChannelState& s) {
    out << "{bank " << s.bank << " preset " << s.preset << " bend " << s.pitchBend << " range " << s.bendRange
        << " cc";
    for (int cc = 0; cc < 120; ++cc)
        if (s.controllers[cc])
            out << " " << cc << "=" << s.controllers[cc];
    return out << "}";
}

ChannelState Capture(fluid_synth_t* synth, int channel) {
    ChannelState state;
    fluid_synth_get_program(synth, channel, &state.soundFont, &state.bank, &state.preset);
    // Sustain is released by every end and stop, and data entry is not state of its own.
    for (int cc = 0; cc < 120; ++cc)
        if (cc != 64 && cc != 6 && cc != 38)
            fluid_synth_get_cc(synth, channel, cc, &state.controllers[cc]);
    fluid_synth_get_pitch_bend(synth, channel, &state.pitchBend);
    fluid_synth_get_pitch_wheel_sens(synth, channel, &state.bendRange);
    return state;
}

class SynthTest : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        m_soundFont = mci::FindSoundFont(mci::SystemSoundFonts());
        if (m_soundFont.empty())
            GTEST_SKIP() << "no General MIDI SoundFont installed";
    }

    // Switches the device to a fresh synthesiser and returns it (owned by the device).
    mci::FluidSynthSink* UseNewSynth() {
        auto synth = mci::FluidSynthSink::Create(m_soundFont);
        EXPECT_TRUE(synth);
        mci::FluidSynthSink* raw = synth.get();
        mci::UseOfflineOutput(std::move(synth));
        return raw;
    }

    std::string m_soundFont;
};

// Four seconds at 120 bpm, 480 ticks a quarter (960 ticks a second), with state set before and
// after the two-second mark on several channels.
void WriteBusySong(const std::string& path) {
    SmfBuilder smf(1, 480);
    const int t0 = smf.AddTrack();
    smf.Add(t0, 0, Sysex({0x7E, 0x7F, 0x09, 0x01}));
    const int t1 = smf.AddTrack();
    smf.Add(t1, 10, Control(0, 0, 0)).Add(t1, 10, Program(0, 24)).Add(t1, 20, Control(0, 7, 90));
    smf.Add(t1, 30, Control(0, 10, 20)).Add(t1, 40, Control(0, 91, 70)).Add(t1, 900, Control(0, 7, 60));
    smf.Add(t1, 50, Control(1, 101, 0)).Add(t1, 50, Control(1, 100, 0)).Add(t1, 50, Control(1, 6, 12));
    smf.Add(t1, 60, Program(1, 40)).Add(t1, 70, PitchBend(1, 0x2800)).Add(t1, 1500, PitchBend(1, 0x1000));
    smf.Add(t1, 80, Control(2, 0, 8)).Add(t1, 80, Program(2, 4)).Add(t1, 90, Control(2, 11, 100));
    smf.Add(t1, 100, Program(9, 16)).Add(t1, 110, Control(3, 1, 80)).Add(t1, 120, Control(3, 121, 0));
    smf.Add(t1, 1800, Program(0, 30)).Add(t1, 1850, Control(2, 93, 40));
    for (int i = 0; i < 40; ++i) {
        smf.Add(t1, 96u * i + 5, NoteOn(i % 4, 48 + i % 24, 90));
        smf.Add(t1, 96u * i + 90, NoteOff(i % 4, 48 + i % 24));
    }
    // State after the seek position, which the chase must not send.
    smf.Add(t1, 2500, Program(0, 50)).Add(t1, 2600, Control(1, 7, 10)).Add(t1, 2700, PitchBend(1, 0x3FFF));
    smf.EndAt(t1, 3840);
    smf.WriteTo(path);
}

TEST_F(SynthTest, ASeekChasesTheSameStateAsPlayingFromTheStart) {
    const std::string path = m_dir.Path("busy.mid");
    WriteBusySong(path);

    mci::FluidSynthSink* played = UseNewSynth();
    MCIDEVICEID id = 0;
    ASSERT_EQ(Err(OpenFile(path, id)), Err(0));
    MCI_PLAY_PARMS play;
    play.dwTo = 2000;
    ASSERT_EQ(Err(mciSendCommand(id, MCI_PLAY, MCI_TO | MCI_WAIT, &play)), Err(0));
    std::vector<ChannelState> expected;
    for (int channel = 0; channel < 16; ++channel)
        expected.push_back(Capture(played->Synth(), channel));

    mci::FluidSynthSink* seeked = UseNewSynth();
    ASSERT_EQ(Err(OpenFile(path, id)), Err(0));
    ASSERT_EQ(Err(SeekTo(id, 2000)), Err(0));
    ASSERT_EQ(Err(PlayNotify(id)), Err(0));
    mci::AdvanceOffline(1);
    ASSERT_EQ(Err(mciSendCommand(id, MCI_STOP, 0, nullptr)), Err(0));
    mci::AdvanceOffline(1);
    for (int channel = 0; channel < 16; ++channel)
        EXPECT_EQ(Capture(seeked->Synth(), channel), expected[channel]) << "channel " << channel;

    // The state really is the song's, not the synthesiser's defaults.
    EXPECT_EQ(expected[0].preset, 30);
    EXPECT_EQ(expected[1].bendRange, 12);
    EXPECT_EQ(expected[1].pitchBend, 0x1000);
    EXPECT_EQ(expected[2].controllers[0], 8) << "bank select";
    EXPECT_EQ(expected[2].controllers[11], 100);
    EXPECT_EQ(expected[2].controllers[93], 40);
    EXPECT_EQ(expected[3].controllers[1], 0) << "reset after the modulation";
}

TEST_F(SynthTest, ClosingSilencesButKeepsTheChannelState) {
    const std::string path = m_dir.Path("busy.mid");
    WriteBusySong(path);
    mci::FluidSynthSink* synth = UseNewSynth();
    MCIDEVICEID id = 0;
    ASSERT_EQ(Err(OpenFile(path, id)), Err(0));
    ASSERT_EQ(Err(SeekTo(id, 1000)), Err(0));
    ASSERT_EQ(Err(PlayNotify(id)), Err(0));
    mci::AdvanceOffline(60);
    EXPECT_GT(fluid_synth_get_active_voice_count(synth->Synth()), 0);
    ASSERT_EQ(Err(Close(id)), Err(0));
    mci::AdvanceOffline(20);
    EXPECT_EQ(fluid_synth_get_active_voice_count(synth->Synth()), 0);
    const ChannelState state = Capture(synth->Synth(), 0);
    EXPECT_EQ(state.preset, 24);
    EXPECT_EQ(state.controllers[7], 60);

    // A song that changes only channel 0's program finds channel 1 as the last song set it.
    const std::string other = m_dir.Path("other.mid");
    SmfBuilder smf(0, 480);
    const int t = smf.AddTrack();
    smf.Add(t, 0, Program(0, 2)).Add(t, 0, NoteOn(0, 60, 80)).Add(t, 240, NoteOff(0, 60));
    smf.Add(t, 0, NoteOn(1, 64, 80)).Add(t, 240, NoteOff(1, 64));
    smf.WriteTo(other);
    ASSERT_EQ(Err(OpenFile(other, id)), Err(0));
    MCI_PLAY_PARMS play;
    ASSERT_EQ(Err(mciSendCommand(id, MCI_PLAY, MCI_WAIT, &play)), Err(0));
    EXPECT_EQ(Capture(synth->Synth(), 1).preset, 40);
    EXPECT_EQ(Capture(synth->Synth(), 1).bendRange, 12);
    EXPECT_EQ(Capture(synth->Synth(), 0).preset, 2);
}

TEST_F(SynthTest, ASongIsAudible) {
    UseNewSynth();
    const MCIDEVICEID id = OpenSong();
    ASSERT_EQ(Err(PlayNotify(id)), Err(0));
    std::vector<float> left(44100), right(44100);
    mci::RenderOffline(left.data(), right.data(), left.size());
    double energy = 0;
    float peak = 0;
    for (std::size_t i = 0; i < left.size(); ++i) {
        energy += left[i] * left[i] + right[i] * right[i];
        peak = std::max({peak, std::fabs(left[i]), std::fabs(right[i])});
    }
    const double rms = std::sqrt(energy / (2.0 * left.size()));
    EXPECT_GT(rms, 0.005);
    EXPECT_LT(peak, 1.0f) << "no clipping on a plain melody";
}

// Songs as written range from a lone soft flute to a full orchestra; the player levels them.
TEST_F(SynthTest, ASoftSoloAndAFullOrchestraComeOutEquallyLoud) {
    UseNewSynth();
    auto levelOf = [&](const std::string& path) {
        MCIDEVICEID id = 0;
        EXPECT_EQ(Err(OpenFile(path, id)), Err(0));
        EXPECT_EQ(Err(PlayNotify(id)), Err(0));
        // Twenty seconds; the level is measured over the last ten, once the song is known.
        std::vector<float> left(44100), right(44100);
        double sum = 0;
        for (int second = 0; second < 20; ++second) {
            mci::RenderOffline(left.data(), right.data(), left.size());
            for (std::size_t i = 0; second >= 10 && i < left.size(); ++i)
                sum += left[i] * left[i] + right[i] * right[i];
        }
        EXPECT_EQ(Err(Close(id)), Err(0));
        return 10 * std::log10(sum / (2.0 * 10 * 44100));
    };
    const std::string solo = m_dir.Path("solo.mid"), orchestra = m_dir.Path("orchestra.mid");
    SmfBuilder soft(0, 480), full(0, 480);
    const int s = soft.AddTrack(), f = full.AddTrack();
    soft.Add(s, 0, Program(0, 73)).Add(s, 0, Control(0, 7, 80));
    for (int channel = 0; channel < 16; ++channel)
        full.Add(f, 0, Program(channel, 48 + channel % 8));
    for (std::uint64_t tick = 0; tick < 960 * 20; tick += 480) {
        soft.Add(s, tick, NoteOn(0, 72, 50)).Add(s, tick + 400, NoteOff(0, 72));
        for (int channel = 0; channel < 16; ++channel)
            full.Add(f, tick, NoteOn(channel, 48 + channel * 2, 120))
                .Add(f, tick + 470, NoteOff(channel, 48 + channel * 2));
    }
    soft.WriteTo(solo);
    full.WriteTo(orchestra);
    const double soloDb = levelOf(solo), orchestraDb = levelOf(orchestra);
    EXPECT_NEAR(soloDb, mci::Loudness::kTargetDb, 2.0);
    EXPECT_NEAR(orchestraDb, mci::Loudness::kTargetDb, 2.0);
}

TEST_F(SynthTest, TheVolumeScalesTheSongByTheCubeOfItsLevel) {
    auto rmsOfFirstSecond = [&](double volume) {
        UseNewSynth();
        mci::SetVolume(volume);
        const MCIDEVICEID id = OpenSong();
        EXPECT_EQ(Err(PlayNotify(id)), Err(0));
        std::vector<float> left(44100), right(44100);
        mci::RenderOffline(left.data(), right.data(), left.size());
        double energy = 0;
        for (std::size_t i = 0; i < left.size(); ++i)
            energy += left[i] * left[i] + right[i] * right[i];
        mciSendCommand(id, MCI_CLOSE, 0, nullptr);
        return std::sqrt(energy / (2.0 * left.size()));
    };
    const double full = rmsOfFirstSecond(1.0);
    const double half = rmsOfFirstSecond(0.5);
    const double silent = rmsOfFirstSecond(0.0);
    ASSERT_GT(full, 0.005);
    EXPECT_NEAR(half / full, 0.125, 0.01);
    // Only the few milliseconds in which the gain glides down to nothing are heard.
    EXPECT_LT(silent, full * 0.02);
}

} // namespace
} // namespace mcitest
