// The audio callback while a SoundFont loads.
//
//   bench_soundfont_load [SOUNDFONT_TO_LOAD]
//
// A dense song plays through the sequencer device and the synthesiser; a thread of ours stands in
// for the audio driver's, calling the render every period (512 frames, 11.6 ms) as the driver
// does, and times each call. First for as long as the load will take without a load, then while
// the device loads a large SoundFont (the system's 148 MB General MIDI one by default) on its
// loader thread. Printed: the longest call of each phase and the period; the goal is that the
// longest call during the load stays within the period (no underrun).

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "platform/mci/Mci.h"
#include "platform/mci/SoundFont.h"
#include "platform/mci/SoundFontLoad.h"

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

void WriteDenseSong(const std::string& path) {
    mcitest::SmfBuilder song(0, 480);
    const int track = song.AddTrack();
    std::uint32_t random = 7;
    auto next = [&random](std::uint32_t range) {
        random = random * 1103515245 + 12345;
        return (random >> 16) % range;
    };
    for (int channel = 0; channel < 16; ++channel)
        song.Add(track, 0, mcitest::Program(channel, static_cast<int>(next(128))));
    for (std::uint64_t tick = 0; tick < 960 * 600; tick += 60) {
        const int channel = static_cast<int>(next(16));
        const int key = 36 + static_cast<int>(next(48));
        song.Add(track, tick, mcitest::NoteOn(channel, key, 100));
        song.Add(track, tick + 240 + next(480), mcitest::NoteOff(channel, key));
    }
    song.WriteTo(path);
}

// Calls the render every period until told to stop; returns the longest call in microseconds.
double Callbacks(const std::atomic<bool>& stop) {
    std::vector<float> left(kPeriod), right(kPeriod);
    const auto period = std::chrono::nanoseconds(1'000'000'000LL * kPeriod / mci::kSampleRate);
    auto due = Clock::now();
    double longest = 0;
    while (!stop.load()) {
        const auto start = Clock::now();
        mci::RenderOffline(left.data(), right.data(), kPeriod);
        longest = std::max(longest, std::chrono::duration<double, std::micro>(Clock::now() - start).count());
        due += period;
        std::this_thread::sleep_until(due);
    }
    return longest;
}

} // namespace

int main(int argc, char** argv) {
    const std::string system = mci::FindSoundFont(mci::SystemSoundFonts());
    const std::string toLoad = argc > 1 ? argv[1] : system;
    mci::LoadedSoundFont playing = mci::LoadSoundFontSynth(system);
    if (!playing.synth) {
        std::fprintf(stderr, "bench_soundfont_load: no General MIDI SoundFont\n");
        return 2;
    }
    mci::SetNotifySink(OnMessage);
    mci::UseOfflineOutput(std::move(playing.synth));
    mcitest::TempDir dir;
    const std::string song = dir.Path("dense.mid");
    WriteDenseSong(song);
    MCI_OPEN_PARMS open;
    open.lpstrDeviceType = "sequencer";
    open.lpstrElementName = song.c_str();
    mciSendCommand(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT, &open);
    MCI_PLAY_PARMS play;
    mciSendCommand(open.wDeviceID, MCI_PLAY, 0, &play);

    // How long a load takes sets how long each phase runs; the first load is not measured.
    std::atomic<bool> stop{false};
    auto start = Clock::now();
    std::thread warmup([&] { Callbacks(stop); });
    mci::ChangeSoundFont(toLoad, 1, kLoaded);
    mci::WaitForSoundFont();
    const auto loadTime = Clock::now() - start;
    stop = true;
    warmup.join();

    stop = false;
    double without = 0;
    std::thread quiet([&] { without = Callbacks(stop); });
    std::this_thread::sleep_for(loadTime);
    stop = true;
    quiet.join();

    stop = false;
    g_loaded = false;
    double during = 0;
    std::thread loading([&] { during = Callbacks(stop); });
    mci::ChangeSoundFont(toLoad, 1, kLoaded);
    mci::WaitForSoundFont();
    stop = true;
    loading.join();
    mciSendCommand(open.wDeviceID, MCI_CLOSE, 0, nullptr);
    mci::Shutdown();

    const double periodUs = 1e6 * kPeriod / mci::kSampleRate;
    std::printf("load of %s: %.2f s\n", toLoad.c_str(), std::chrono::duration<double>(loadTime).count());
    std::printf(
        "longest callback without a load: %.0f us; while loading: %.0f us (ratio %.2f); period %.0f us\n",
        without, during, without > 0 ? during / without : 0.0, periodUs);
    const bool ok = g_loaded && during < periodUs;
    std::printf("%s\n", ok ? "within the period: no underrun" : "NOT within the period");
    return ok ? 0 : 1;
}
