// The synthesiser with the system's General MIDI SoundFont loads sample data only for the presets
// songs play (the tests skip where there is no such SoundFont): every note of a run of songs finds
// its preset loaded, whatever banks, kits and resets the songs use; presets no song needs any more
// are let go; and a program change the device did not prepare for loads nothing in the callback.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include <fluidsynth.h>

#include "DeviceFixture.h"
#include "SmfBuilder.h"
#include "platform/mci/AudioDriver.h"
#include "platform/mci/Engine.h"
#include "platform/mci/FluidSynthSink.h"
#include "platform/mci/SoundFont.h"

namespace mcitest {
namespace {

const Bytes kGmOn = {0x7E, 0x7F, 0x09, 0x01};
const Bytes kGsReset = {0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41};
const Bytes kGsChannel3Drums = {0x41, 0x10, 0x42, 0x12, 0x40, 0x13, 0x15, 0x01, 0x17};
const Bytes kXgReset = {0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00};

// A short song: the set-up events at tick 0, then a note on each of the channels.
void WriteSong(const std::string& path, const std::vector<Bytes>& setUp, const std::vector<int>& channels) {
    SmfBuilder smf(0, 480);
    const int t = smf.AddTrack();
    for (const Bytes& event : setUp)
        smf.Add(t, 0, event);
    for (const int channel : channels)
        smf.Add(t, 10, NoteOn(channel, 60, 100)).Add(t, 400, NoteOff(channel, 60));
    smf.WriteTo(path);
}

class PresetLoadingTest : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        m_soundFont = mci::FindSoundFont(mci::SystemSoundFonts());
        if (m_soundFont.empty())
            GTEST_SKIP() << "no General MIDI SoundFont installed";
    }

    bool Loaded(const mci::FluidSynthSink& synth, mci::PresetId preset) {
        const auto index = synth.Presets().Table().IndexOf(preset);
        return index && synth.Presets().IsLoaded(*index);
    }

    std::string m_soundFont;
};

TEST_F(PresetLoadingTest, EveryNoteOfARunOfSongsFindsItsPresetLoaded) {
    auto owned = mci::FluidSynthSink::Create(m_soundFont);
    ASSERT_TRUE(owned);
    mci::FluidSynthSink* synth = owned.get();
    mci::UseOfflineOutput(std::move(owned));
    EXPECT_EQ(synth->Presets().LoadedCount(), 0u) << "nothing is read before a song plays";

    struct Song {
        const char* what;
        std::vector<Bytes> setUp;
        std::vector<int> channels;
        mci::PresetId heard;
    };
    const std::vector<Song> songs = {
        {"a bank 8 variation", {Control(1, 0, 8), Program(1, 4), Program(0, 40)}, {0, 1}, {8, 4}},
        {"a drum kit", {Program(9, 16)}, {9}, {128, 16}},
        {"a reset, then kit 0", {Sysex(kGmOn)}, {9}, {128, 0}},
        {"a GS rhythm part on channel 3", {Sysex(kGsReset), Sysex(kGsChannel3Drums)}, {2}, {128, 0}},
        {"XG drums by bank select", {Sysex(kXgReset), Control(3, 0, 127), Program(3, 0)}, {3}, {128, 0}},
        {"a flute", {Sysex(kGmOn), Program(4, 73)}, {4}, {0, 73}},
        {"the violin an earlier song left on channel 1, after a GM reset took it away",
         {Sysex(kGmOn), Program(0, 40), Program(5, 19)},
         {5},
         {0, 19}},
        {"channel 1 as the song before left it", {}, {0}, {0, 40}},
    };
    for (std::size_t i = 0; i < songs.size(); ++i) {
        SCOPED_TRACE(songs[i].what);
        const std::string path = m_dir.Path("song" + std::to_string(i) + ".mid");
        WriteSong(path, songs[i].setUp, songs[i].channels);
        MCIDEVICEID id = 0;
        ASSERT_EQ(Err(OpenFile(path, id)), Err(0));
        MCI_PLAY_PARMS play;
        ASSERT_EQ(Err(mciSendCommand(id, MCI_PLAY, MCI_WAIT, &play)), Err(0));
        EXPECT_EQ(synth->UnpreparedNotes(), 0u);
        EXPECT_TRUE(Loaded(*synth, songs[i].heard));
        fluid_preset_t* selected = fluid_synth_get_channel_preset(synth->Synth(), songs[i].channels.back());
        ASSERT_TRUE(selected);
        EXPECT_EQ(fluid_preset_get_banknum(selected), songs[i].heard.bank);
        EXPECT_EQ(fluid_preset_get_num(selected), songs[i].heard.program);
        ASSERT_EQ(Err(Close(id)), Err(0));
    }
    // The power kit and the bank 8 piano, used at the start and 11 MB and 3 MB large, have gone.
    EXPECT_FALSE(Loaded(*synth, {128, 16}));
    EXPECT_FALSE(Loaded(*synth, {8, 4}));
    EXPECT_LE(synth->Presets().LoadedCount(), 5u);
}

TEST_F(PresetLoadingTest, AProgramChangeNobodyPreparedForLoadsNothingWhileRendering) {
    auto synth = mci::FluidSynthSink::Create(m_soundFont);
    ASSERT_TRUE(synth);
    synth->ShortMessage(0xC0, 40, 0);
    synth->ShortMessage(0x90, 60, 100);
    std::vector<float> left(4096), right(4096);
    synth->Render(left.data(), right.data(), left.size());
    EXPECT_FALSE(Loaded(*synth, {0, 40}));
    EXPECT_EQ(synth->UnpreparedNotes(), 1u);
    // Only the effects' noise floor: no preset is loaded to stand in.
    EXPECT_LT(*std::max_element(left.begin(), left.end()), 1e-4f);
}

// The live output with a driver thread of the test's own that renders as fast as it can and adds
// up the sound: the presets are loaded by the device's own thread while the callback goes on.
std::atomic<double> g_energy{0};

class CountingDriver final : public mci::AudioDriver {
public:
    explicit CountingDriver(mci::Engine& engine) : m_engine(engine), m_thread([this] { Run(); }) {}
    ~CountingDriver() override {
        m_stop = true;
        m_thread.join();
    }

private:
    void Run() {
        std::vector<float> left(512), right(512);
        while (!m_stop) {
            m_engine.Render(left.data(), right.data(), left.size());
            double energy = 0;
            for (std::size_t i = 0; i < left.size(); ++i)
                energy += left[i] * left[i] + right[i] * right[i];
            g_energy = g_energy + energy;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    }

    mci::Engine& m_engine;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

TEST_F(PresetLoadingTest, LiveSongsAreHeardWithThePresetsLoadedBeforeThem) {
    mci::LiveOptions options;
    options.openDriver = [](mci::Engine& engine) { return std::make_unique<CountingDriver>(engine); };
    mci::UseLiveOutput(std::move(options));
    for (const int program : {40, 73, 19, 56}) {
        SCOPED_TRACE(program);
        const std::string path = m_dir.Path("live" + std::to_string(program) + ".mid");
        WriteSong(path, {Program(0, program), Program(9, 24)}, {0, 9});
        MCIDEVICEID id = 0;
        ASSERT_EQ(Err(OpenFile(path, id)), Err(0));
        g_energy = 0;
        MCI_PLAY_PARMS play;
        ASSERT_EQ(Err(mciSendCommand(id, MCI_PLAY, MCI_WAIT, &play)), Err(0));
        EXPECT_GT(g_energy.load(), 1.0) << "the song was heard";
        ASSERT_EQ(Err(Close(id)), Err(0));
    }
}

} // namespace
} // namespace mcitest
