// The audio callback's longest run while the synthesiser changes what it has loaded.
//
//   bench_callback [SOUNDFONT_TO_LOAD]
//
// The live output plays with a driver of our own: a thread that calls the engine's render every
// period (512 frames, 11.6 ms), as FluidSynth's drivers do, and times each call. Three phases, each
// against a quiet reference measured in the same run (a dense song playing, nothing loading):
// - a SoundFont loads on the device's loader thread (the system's 148 MB General MIDI one by
//   default) while the dense song plays;
// - songs start one after another, as Next does in intro mode, each sounding programs, banks and
//   drum kits the ones before did not, so that their presets are read from the disk;
// - a song changes the programs of all its channels every beat, through every program.
// Printed: the longest call of each phase, its ratio to the reference, and the period; and, for
// scale, the longest of FluidSynth's own program changes on a synthesiser that loads sample data
// on demand, as a callback would meet them if presets were loaded there. Goal: every phase's
// longest call within the period (no underrun).

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include <fluidsynth.h>
#include <pthread.h>

#include "platform/mci/AudioDriver.h"
#include "platform/mci/Engine.h"
#include "platform/mci/Mci.h"
#include "platform/mci/SoundFont.h"

#include "SmfBuilder.h"
#include "TestSupport.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t kPeriod = 512;
constexpr UINT kLoaded = WM_APP + 1;

std::atomic<bool> g_loaded{false};

void OnMessage(HWND, UINT message, WPARAM, LPARAM) {
    if (message == kLoaded)
        g_loaded.store(true);
}

// The longest render since the last look, in microseconds.
std::atomic<double> g_longest{0};
std::atomic<bool> g_realTime{false};

class PacedDriver final : public mci::AudioDriver {
public:
    explicit PacedDriver(mci::Engine& engine) : m_engine(engine), m_thread([this] { Run(); }) {}
    ~PacedDriver() override {
        m_stop = true;
        m_thread.join();
    }

private:
    void Run() {
        // Real-time scheduling, as sound servers give their clients' audio threads, where we may:
        // on a busy machine another process could otherwise take the processor in the middle of a
        // call and make it look long.
        sched_param priority{};
        priority.sched_priority = 10;
        g_realTime = pthread_setschedparam(pthread_self(), SCHED_FIFO, &priority) == 0;
        std::vector<float> left(kPeriod), right(kPeriod);
        const auto period = std::chrono::nanoseconds(1'000'000'000LL * kPeriod / mci::kSampleRate);
        auto due = Clock::now();
        while (!m_stop) {
            const auto start = Clock::now();
            m_engine.Render(left.data(), right.data(), kPeriod);
            const double took = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
            if (took > g_longest.load())
                g_longest.store(took);
            due += period;
            std::this_thread::sleep_until(due);
        }
    }

    mci::Engine& m_engine;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

double TakeLongest() {
    return g_longest.exchange(0);
}

mcitest::SmfBuilder DenseSong(std::uint64_t beats, int firstProgram, bool everyBeat) {
    mcitest::SmfBuilder song(0, 480);
    const int track = song.AddTrack();
    std::uint32_t random = static_cast<std::uint32_t>(firstProgram) * 31 + 7;
    auto next = [&random](std::uint32_t range) {
        random = random * 1103515245 + 12345;
        return (random >> 16) % range;
    };
    int program = firstProgram;
    for (std::uint64_t beat = 0; beat < beats; ++beat) {
        const std::uint64_t tick = beat * 480;
        if (beat == 0 || everyBeat) {
            for (int channel = 0; channel < 16; ++channel) {
                if (channel == 9) {
                    song.Add(track, tick, mcitest::Program(9, (program % 8) * 8));
                    continue;
                }
                // Every other channel asks for bank 8, which the General MIDI SoundFont has for
                // some programs and falls back from for the rest.
                song.Add(track, tick, mcitest::Control(channel, 0, channel % 2 ? 8 : 0));
                song.Add(track, tick, mcitest::Program(channel, program++ % 128));
            }
        }
        for (int n = 0; n < 8; ++n) {
            const int channel = static_cast<int>(next(16));
            const int key = channel == 9 ? 35 + static_cast<int>(next(46)) : 36 + static_cast<int>(next(48));
            song.Add(track, tick + next(480), mcitest::NoteOn(channel, key, 100));
            song.Add(track, tick + 480 + next(480), mcitest::NoteOff(channel, key));
        }
    }
    return song;
}

// FluidSynth's program change loading the preset's sample data in the calling thread.
double LongestLoadingProgramChange(const std::string& soundFont) {
    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_setint(settings, "synth.dynamic-sample-loading", 1);
    fluid_synth_t* synth = new_fluid_synth(settings);
    fluid_synth_sfload(synth, soundFont.c_str(), 1);
    double longest = 0;
    for (int program = 0; program < 128; program += 8) {
        const auto start = Clock::now();
        fluid_synth_program_change(synth, program % 16 == 9 ? 0 : program % 16, program);
        longest = std::max(longest, std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    return longest;
}

MCIDEVICEID OpenAndPlay(const std::string& path) {
    MCI_OPEN_PARMS open;
    open.lpstrDeviceType = "sequencer";
    open.lpstrElementName = path.c_str();
    if (mciSendCommand(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT, &open) != 0)
        return 0;
    MCI_PLAY_PARMS play;
    mciSendCommand(open.wDeviceID, MCI_PLAY, 0, &play);
    return open.wDeviceID;
}

} // namespace

int main(int argc, char** argv) {
    const std::string system = mci::FindSoundFont(mci::SystemSoundFonts());
    const std::string toLoad = argc > 1 ? argv[1] : system;
    if (system.empty()) {
        std::fprintf(stderr, "bench_callback: no General MIDI SoundFont\n");
        return 2;
    }
    mci::SetNotifySink(OnMessage);
    mci::LiveOptions options;
    options.openDriver = [](mci::Engine& engine) { return std::make_unique<PacedDriver>(engine); };
    mci::UseLiveOutput(std::move(options));
    mcitest::TempDir dir;
    const std::string dense = dir.Path("dense.mid");
    DenseSong(1200, 0, false).WriteTo(dense);
    std::vector<std::string> starts;
    for (int i = 0; i < 24; ++i) {
        starts.push_back(dir.Path("start" + std::to_string(i) + ".mid"));
        DenseSong(16, i * 16, false).WriteTo(starts.back());
    }
    const std::string changes = dir.Path("changes.mid");
    DenseSong(64, 0, true).WriteTo(changes);

    // The reference: the dense song playing, its presets loaded, for two seconds.
    MCIDEVICEID id = OpenAndPlay(dense);
    std::this_thread::sleep_for(std::chrono::seconds(1));
    TakeLongest();
    std::this_thread::sleep_for(std::chrono::seconds(2));
    const double quiet = TakeLongest();

    const auto loadStart = Clock::now();
    mci::ChangeSoundFont(toLoad, 1, kLoaded);
    mci::WaitForSoundFont();
    const double loadSeconds = std::chrono::duration<double>(Clock::now() - loadStart).count();
    const double duringLoad = TakeLongest();
    mciSendCommand(id, MCI_CLOSE, 0, nullptr);

    // Songs started as fast as Next in intro mode would, each a second long.
    TakeLongest();
    for (const std::string& song : starts) {
        id = OpenAndPlay(song);
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        mciSendCommand(id, MCI_CLOSE, 0, nullptr);
    }
    const double duringStarts = TakeLongest();

    id = OpenAndPlay(changes);
    std::this_thread::sleep_for(std::chrono::seconds(4));
    mciSendCommand(id, MCI_CLOSE, 0, nullptr);
    const double duringChanges = TakeLongest();
    mci::Shutdown();

    const double periodUs = 1e6 * kPeriod / mci::kSampleRate;
    std::printf("longest callback, period %.0f us (%s scheduling):\n", periodUs,
                g_realTime ? "real-time" : "normal");
    std::printf("  a dense song playing (reference): %6.0f us\n", quiet);
    std::printf("  while %s loads (%.2f s): %6.0f us (ratio %.2f)\n", toLoad.c_str(), loadSeconds, duringLoad,
                quiet > 0 ? duringLoad / quiet : 0.0);
    std::printf("  while %zu songs start, loading their presets:   %6.0f us (ratio %.2f)\n", starts.size(),
                duringStarts, quiet > 0 ? duringStarts / quiet : 0.0);
    std::printf("  while a song changes 16 programs every beat: %6.0f us (ratio %.2f)\n", duringChanges,
                quiet > 0 ? duringChanges / quiet : 0.0);
    std::printf("  for scale, FluidSynth's own program change loading a preset: %.0f us\n",
                LongestLoadingProgramChange(system));
    const bool ok = g_loaded && std::max({duringLoad, duringStarts, duringChanges}) < periodUs;
    std::printf("%s\n", ok ? "within the period: no underrun" : "NOT within the period");
    return ok ? 0 : 1;
}
