// Loudness: how loud the player sounds, and whether anything clips.
//
//   bench_loudness [DENSE_SONGS] [--soundfont SF]
//
// The demo songs and a set of generated dense songs (every channel busy, loud velocities, full
// volume and expression, many notes at once: the worst case for clipping) are rendered offline
// through the sequencer device and the synthesiser exactly as the live callback renders them, a
// second of tail included. Printed: each song's peak, the median peak over all songs, and the
// samples beyond full scale (what a 16-bit output would clip). Goals: median peak within
// -6..-1 dBFS, no clipped sample.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/mci/Mci.h"
#include "platform/mci/SoundFont.h"
#include "platform/mci/SoundFontLoad.h"

#include "SmfBuilder.h"
#include "TestSupport.h"

namespace {

struct Measured {
    float peak = 0;
    std::uint64_t clipped = 0;
};

// Twenty seconds, 16 channels, a chord of up to eight notes every eighth, velocities 90..127.
mcitest::SmfBuilder MakeDenseSong(std::uint32_t seed) {
    mcitest::SmfBuilder song(0, 480);
    const int track = song.AddTrack();
    auto add = [&](std::uint64_t tick, mcitest::Bytes bytes) { song.Add(track, tick, std::move(bytes)); };
    std::uint32_t random = seed * 7919 + 1;
    auto next = [&random](std::uint32_t range) {
        random = random * 1103515245 + 12345;
        return (random >> 16) % range;
    };
    for (int channel = 0; channel < 16; ++channel) {
        add(0, mcitest::Program(channel, static_cast<int>(next(128))));
        add(0, mcitest::Control(channel, 7, 127));
        add(0, mcitest::Control(channel, 11, 127));
    }
    for (std::uint64_t tick = 0; tick < 960 * 20; tick += 240) {
        const int notes = 2 + static_cast<int>(next(7));
        for (int n = 0; n < notes; ++n) {
            const int channel = static_cast<int>(next(16));
            const int key = channel == 9 ? 35 + static_cast<int>(next(46)) : 36 + static_cast<int>(next(48));
            add(tick, mcitest::NoteOn(channel, key, 90 + static_cast<int>(next(38))));
            add(tick + 200 + next(700), mcitest::NoteOff(channel, key));
        }
    }
    return song;
}

Measured Render(const std::string& path) {
    Measured measured;
    MCI_OPEN_PARMS open;
    open.lpstrDeviceType = "sequencer";
    open.lpstrElementName = path.c_str();
    if (mciSendCommand(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT, &open) != 0)
        return measured;
    MCI_PLAY_PARMS play;
    mciSendCommand(open.wDeviceID, MCI_PLAY, 0, &play);
    constexpr std::size_t kBlock = 4096;
    std::vector<float> left(kBlock), right(kBlock);
    MCI_STATUS_PARMS status;
    status.dwItem = MCI_STATUS_MODE;
    std::size_t tail = mci::kSampleRate / kBlock + 1;
    do {
        mci::RenderOffline(left.data(), right.data(), kBlock);
        for (std::size_t i = 0; i < kBlock; ++i) {
            for (float sample : {left[i], right[i]}) {
                measured.peak = std::max(measured.peak, std::fabs(sample));
                measured.clipped += std::fabs(sample) > 1.0f;
            }
        }
        mciSendCommand(open.wDeviceID, MCI_STATUS, MCI_STATUS_ITEM, &status);
    } while (status.dwReturn == MCI_MODE_PLAY || tail-- > 0);
    mciSendCommand(open.wDeviceID, MCI_CLOSE, 0, nullptr);
    return measured;
}

double Db(float amplitude) {
    return amplitude > 0 ? 20.0 * std::log10(amplitude) : -200.0;
}

double Median(std::vector<double> values) {
    if (values.empty())
        return -200.0;
    std::sort(values.begin(), values.end());
    const std::size_t half = values.size() / 2;
    return values.size() % 2 ? values[half] : (values[half - 1] + values[half]) / 2;
}

} // namespace

int main(int argc, char** argv) {
    int denseSongs = 20;
    std::string soundFont = mci::FindSoundFont(mci::SystemSoundFonts());
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--soundfont" && i + 1 < argc)
            soundFont = argv[++i];
        else
            denseSongs = std::atoi(argv[i]);
    }
    mci::LoadedSoundFont loaded = mci::LoadSoundFontSynth(soundFont);
    if (!loaded.synth) {
        std::fprintf(stderr, "bench_loudness: %s: %s\n", soundFont.c_str(),
                     mci::DescribeSoundFontProblem(loaded.problem));
        return 2;
    }
    mci::UseOfflineOutput(std::move(loaded.synth));

    std::vector<std::string> songs;
    for (const auto& entry : std::filesystem::directory_iterator(SHUFFLON_DEMO_DIR)) {
        const std::string extension = entry.path().extension().string();
        if (extension == ".mid" || extension == ".rmi" || extension == ".kar")
            songs.push_back(entry.path().string());
    }
    std::sort(songs.begin(), songs.end());
    mcitest::TempDir dir;
    for (int i = 0; i < denseSongs; ++i) {
        const std::string path = dir.Path("dense" + std::to_string(i) + ".mid");
        MakeDenseSong(static_cast<std::uint32_t>(i)).WriteTo(path);
        songs.push_back(path);
    }

    const std::size_t demoSongs = songs.size() - static_cast<std::size_t>(denseSongs);
    std::vector<double> peaks, demoPeaks;
    std::uint64_t clipped = 0;
    for (const std::string& song : songs) {
        const Measured measured = Render(song);
        peaks.push_back(Db(measured.peak));
        if (peaks.size() <= demoSongs)
            demoPeaks.push_back(Db(measured.peak));
        clipped += measured.clipped;
        std::printf("%-60s peak %6.1f dBFS, %llu clipped\n", std::filesystem::path(song).filename().c_str(),
                    Db(measured.peak), static_cast<unsigned long long>(measured.clipped));
    }
    mci::Shutdown();
    const double median = Median(peaks), demoMedian = Median(demoPeaks);
    // The dense songs all meet the limiter, so the demo songs alone say how loud typical songs are.
    const bool ok =
        median >= -6.0 && median <= -1.0 && demoMedian >= -6.0 && demoMedian <= -1.0 && clipped == 0;
    std::printf(
        "songs %zu: median peak %.1f dBFS, of the %zu demo songs %.1f dBFS (goal -6..-1); clipped samples "
        "%llu (goal 0): %s\n",
        peaks.size(), median, demoPeaks.size(), demoMedian, static_cast<unsigned long long>(clipped),
        ok ? "met" : "NOT met");
    return ok ? 0 : 1;
}
