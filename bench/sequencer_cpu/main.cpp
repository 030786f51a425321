// Sequencer CPU cost: our sequencer device over FluidSynth against FluidSynth alone.
//
// A generated dense song (16 channels, a minute, notes, controllers and pitch bends) is rendered
// offline (a) through the sequencer device, the path the live audio callback takes: queued
// commands, events sent on their exact frames in sub-blocks, status queries between blocks; and
// (b) by FluidSynth alone, fed the same events at the start of each block, with no sequencer.
// Both use the same synthesiser settings and block size. The runs alternate and the fastest of
// each counts; printed is our overhead over FluidSynth alone, measured in this run. Goal: at most 5%.

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/mci/FluidSynthSink.h"
#include "platform/mci/Mci.h"
#include "platform/mci/PlayableSong.h"
#include "platform/mci/SoundFont.h"
#include "platform/midi/MidiFile.h"

#include "SmfBuilder.h"

namespace {

constexpr std::size_t kBlock = 512;
constexpr int kRuns = 5;

double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Format 0, 480 ticks a quarter, 120 bpm: 960 ticks a second for 60 seconds.
std::vector<std::uint8_t> MakeSong() {
    mcitest::SmfBuilder song(0, 480);
    const int track = song.AddTrack();
    auto add = [&](std::uint64_t tick, mcitest::Bytes bytes) { song.Add(track, tick, std::move(bytes)); };
    const std::uint8_t programs[16] = {0, 33, 48, 56, 65, 73, 81, 89, 4, 0, 24, 40, 52, 61, 71, 11};
    for (std::uint8_t channel = 0; channel < 16; ++channel) {
        add(0, {static_cast<std::uint8_t>(0xC0 | channel), programs[channel]});
        add(0, {static_cast<std::uint8_t>(0xB0 | channel), 7, 90});
    }
    std::uint32_t random = 99;
    auto next = [&random](std::uint32_t range) {
        random = random * 1103515245 + 12345;
        return (random >> 16) % range;
    };
    for (std::uint64_t tick = 0; tick < 960 * 60; tick += 12) {
        const std::uint8_t channel = static_cast<std::uint8_t>(next(16));
        const std::uint8_t key = static_cast<std::uint8_t>(channel == 9 ? 35 + next(46) : 36 + next(48));
        add(tick, {static_cast<std::uint8_t>(0x90 | channel), key, static_cast<std::uint8_t>(60 + next(60))});
        add(tick + 60 + next(400), {static_cast<std::uint8_t>(0x80 | channel), key, 0});
        if (tick % 48 == 0)
            add(tick, {static_cast<std::uint8_t>(0xB0 | next(16)), 11, static_cast<std::uint8_t>(next(128))});
        if (tick % 36 == 0)
            add(tick, {static_cast<std::uint8_t>(0xE0 | next(16)), 0, static_cast<std::uint8_t>(next(128))});
    }
    return song.Build();
}

// The device: open, play, render block by block asking for the mode between blocks, as the
// live callback and the player's timer do. Only the rendering is timed.
double RunSequencer(const std::string& path, const std::string& soundFont, std::uint64_t& frames) {
    mci::UseOfflineOutput(mci::FluidSynthSink::Create(soundFont));
    MCI_OPEN_PARMS open;
    open.lpstrDeviceType = "sequencer";
    open.lpstrElementName = path.c_str();
    mciSendCommand(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT, &open);
    std::vector<float> left(kBlock), right(kBlock);
    MCI_STATUS_PARMS status;
    status.dwItem = MCI_STATUS_MODE;
    frames = 0;
    const double start = CpuSeconds();
    MCI_PLAY_PARMS play;
    mciSendCommand(open.wDeviceID, MCI_PLAY, 0, &play);
    do {
        mci::RenderOffline(left.data(), right.data(), kBlock);
        frames += kBlock;
        mciSendCommand(open.wDeviceID, MCI_STATUS, MCI_STATUS_ITEM, &status);
    } while (status.dwReturn == MCI_MODE_PLAY);
    const double seconds = CpuSeconds() - start;
    mci::Shutdown();
    return seconds;
}

// FluidSynth alone: each block's events sent at its start, then the block rendered.
double RunSynthAlone(const mci::PlayableSong& song, const std::string& soundFont, std::uint64_t frames) {
    auto synth = mci::FluidSynthSink::Create(soundFont);
    // The presets are loaded before the song, as the device has them loaded.
    synth->PrepareFor(song);
    std::vector<float> left(kBlock), right(kBlock);
    std::size_t next = 0;
    const double start = CpuSeconds();
    for (std::uint64_t at = 0; at < frames; at += kBlock) {
        for (; next < song.events.size() && song.events[next].frame < at + kBlock; ++next) {
            const mci::SongEvent& event = song.events[next];
            if (event.IsSysex())
                synth->SystemExclusive(song.PayloadOf(event));
            else
                synth->ShortMessage(event.status, event.data1, event.data2);
        }
        synth->Render(left.data(), right.data(), kBlock);
    }
    return CpuSeconds() - start;
}

} // namespace

int main() {
    const std::string soundFont = mci::FindSoundFont(mci::SystemSoundFonts());
    if (soundFont.empty()) {
        std::printf("sequencer cpu: skipped, no General MIDI SoundFont installed\n");
        return 0;
    }
    const std::vector<std::uint8_t> bytes = MakeSong();
    char path[] = "/tmp/shufflon-cpu-XXXXXX.mid";
    const int fd = ::mkstemps(path, 4);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        return 1;
    ::close(fd);
    auto read = midi::ParseMidi(bytes);
    if (!read.ok())
        return 1;
    const mci::PlayableSong song = mci::BuildPlayableSong(read.value());

    double ours = 1e9, alone = 1e9;
    std::uint64_t frames = 0;
    RunSequencer(path, soundFont, frames); // the frame count, and warm caches for both
    for (int run = 0; run < kRuns; ++run) {
        // Which goes first changes every run, so that neither always meets a colder machine.
        if (run % 2 == 0) {
            ours = std::min(ours, RunSequencer(path, soundFont, frames));
            alone = std::min(alone, RunSynthAlone(song, soundFont, frames));
        } else {
            alone = std::min(alone, RunSynthAlone(song, soundFont, frames));
            ours = std::min(ours, RunSequencer(path, soundFont, frames));
        }
    }
    ::unlink(path);
    const double audio = static_cast<double>(frames) / mci::kSampleRate;
    const double overhead = (ours / alone - 1.0) * 100.0;
    std::printf("sequencer cpu: %zu events, %.1f s of audio, blocks of %zu frames, best of %d runs each\n",
                song.events.size(), audio, kBlock, kRuns);
    std::printf("  ours (sequencer device + FluidSynth): %.3f s CPU (%.1fx real time)\n", ours, audio / ours);
    std::printf("  FluidSynth alone, same events:        %.3f s CPU (%.1fx real time)\n", alone,
                audio / alone);
    std::printf("  overhead: %+.1f%% (goal at most 5%%): %s\n", overhead,
                overhead <= 5.0 ? "met" : "NOT met");
    return 0;
}
