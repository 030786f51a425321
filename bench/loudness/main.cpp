// Loudness: how loud the player sounds from song to song, and whether anything is squashed or
// clipped, against FluidSynth's own player on the same songs.
//
//   bench_loudness [--songs FOLDER [--count N]]... [--dense N] [--dense-folder DIR] [--soundfont SF]
//
// The songs: the demo songs, N songs (default 40) spread evenly over each folder given (its
// subfolders included, in name order), and N (default 10) generated dense orchestral songs (every
// channel busy, loud velocities, swelling expression, drums: the worst case for clipping), kept in
// DIR when one is given so that other tools can play them too. Each is
// rendered offline whole, with a second of tail, (a) through the sequencer device and synthesiser
// exactly as the live callback renders them and (b) by FluidSynth's fluid_player at FluidSynth's
// default settings (what the `fluidsynth` command plays). Printed per song and over all songs:
// the RMS level in dBFS, its median and interquartile range, the share of samples within 0.2 dB of
// our limiter's ceiling (where a limiter flattens the sound), samples beyond full scale, and for
// ours the share of the time our limiter took more than 1 dB off. FluidSynth cannot read RIFF
// (.rmi) songs; they count for ours only.
// Goals for ours: median RMS within -20..-14 dBFS, interquartile range at most 4 dB, no song with
// more than 0.01% of its samples near the ceiling, no clipped sample.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <fluidsynth.h>

#include "platform/mci/FluidSynthSink.h"
#include "platform/mci/Loudness.h"
#include "platform/mci/Mci.h"
#include "platform/mci/SoundFont.h"
#include "platform/mci/SoundFontLoad.h"

#include "SmfBuilder.h"
#include "TestSupport.h"

namespace {

constexpr std::size_t kBlock = 4096;

struct Measured {
    bool played = false;
    double eased = 0; // percent of the frames
    double sumSquares = 0;
    std::uint64_t samples = 0, nearCeiling = 0, clipped = 0;
    float peak = 0;

    void Add(const float* left, const float* right, std::size_t frames) {
        const float near = mci::Loudness::kCeiling * std::pow(10.0f, -0.2f / 20.0f);
        for (const float* channel : {left, right}) {
            for (std::size_t i = 0; i < frames; ++i) {
                const float value = std::fabs(channel[i]);
                sumSquares += static_cast<double>(value) * value;
                peak = std::max(peak, value);
                nearCeiling += value >= near;
                clipped += value > 1.0f;
            }
        }
        samples += 2 * frames;
        played = true;
    }
    double RmsDb() const {
        return samples && sumSquares > 0 ? 10.0 * std::log10(sumSquares / samples) : -200.0;
    }
    double NearShare() const { return samples ? 100.0 * nearCeiling / samples : 0.0; }
};

// Thirty seconds of a full orchestra: sustained string and choir chords, brass and woodwind lines,
// timpani and drums, at forte, with expression swelling on every channel.
mcitest::SmfBuilder MakeOrchestralSong(std::uint32_t seed) {
    mcitest::SmfBuilder song(0, 480);
    const int track = song.AddTrack();
    auto add = [&](std::uint64_t tick, mcitest::Bytes bytes) { song.Add(track, tick, std::move(bytes)); };
    std::uint32_t random = seed * 7919 + 1;
    auto next = [&random](std::uint32_t range) {
        random = random * 1103515245 + 12345;
        return (random >> 16) % range;
    };
    const int programs[16] = {48, 49, 50, 42, 56, 57, 60, 58, 71, 73, 47, 68, 52, 61, 70, 45};
    for (int channel = 0; channel < 16; ++channel) {
        if (channel != 9)
            add(0, mcitest::Program(channel, programs[channel]));
        add(0, mcitest::Control(channel, 7, 100 + static_cast<int>(next(28))));
        add(0, mcitest::Control(channel, 10, static_cast<int>(next(128))));
    }
    constexpr std::uint64_t kBar = 1920, kBars = 30;
    for (std::uint64_t bar = 0; bar < kBars; ++bar) {
        const std::uint64_t start = bar * kBar;
        const int root = 36 + static_cast<int>(next(12));
        for (int channel = 0; channel < 16; ++channel) {
            if (channel == 9)
                continue;
            for (std::uint64_t tick = start; tick < start + kBar; tick += 240)
                add(tick, mcitest::Control(channel, 11, 70 + static_cast<int>((tick - start) * 57 / kBar)));
            const bool sustained = channel < 4 || channel == 12;
            const std::uint64_t step = sustained ? kBar : 240 * (1 + next(2));
            for (std::uint64_t tick = start; tick < start + kBar; tick += step) {
                const int notes = sustained ? 3 : 1;
                for (int n = 0; n < notes; ++n) {
                    const int key = root + 12 * (1 + channel % 3) + static_cast<int>(next(3)) * 4;
                    add(tick, mcitest::NoteOn(channel, key, 90 + static_cast<int>(next(38))));
                    add(tick + step - 10, mcitest::NoteOff(channel, key));
                }
            }
        }
        for (std::uint64_t tick = start; tick < start + kBar; tick += 120) {
            const int key = tick == start ? 49 : (next(2) ? 36 : 38);
            add(tick, mcitest::NoteOn(9, key, 100 + static_cast<int>(next(28))));
            add(tick + 60, mcitest::NoteOff(9, key));
        }
    }
    return song;
}

Measured RenderOurs(const std::string& path, const mci::FluidSynthSink& synth) {
    Measured measured;
    const std::uint64_t easedBefore = synth.Level().FramesEased();
    MCI_OPEN_PARMS open;
    open.lpstrDeviceType = "sequencer";
    open.lpstrElementName = path.c_str();
    if (mciSendCommand(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT, &open) != 0)
        return measured;
    MCI_PLAY_PARMS play;
    mciSendCommand(open.wDeviceID, MCI_PLAY, 0, &play);
    std::vector<float> left(kBlock), right(kBlock);
    MCI_STATUS_PARMS status;
    status.dwItem = MCI_STATUS_MODE;
    std::size_t tail = mci::kSampleRate / kBlock + 1;
    do {
        mci::RenderOffline(left.data(), right.data(), kBlock);
        measured.Add(left.data(), right.data(), kBlock);
        mciSendCommand(open.wDeviceID, MCI_STATUS, MCI_STATUS_ITEM, &status);
    } while (status.dwReturn == MCI_MODE_PLAY || tail-- > 0);
    mciSendCommand(open.wDeviceID, MCI_CLOSE, 0, nullptr);
    measured.eased =
        200.0 * static_cast<double>(synth.Level().FramesEased() - easedBefore) / measured.samples;
    return measured;
}

// FluidSynth on its own, as the fluidsynth command renders a file: default settings, its player.
Measured RenderTheirs(fluid_synth_t* synth, const std::string& path) {
    Measured measured;
    fluid_synth_system_reset(synth);
    fluid_player_t* player = new_fluid_player(synth);
    if (!player || fluid_is_midifile(path.c_str()) == 0 ||
        fluid_player_add(player, path.c_str()) != FLUID_OK) {
        delete_fluid_player(player);
        return measured;
    }
    fluid_player_play(player);
    std::vector<float> left(kBlock), right(kBlock);
    std::size_t tail = mci::kSampleRate / kBlock + 1;
    do {
        fluid_synth_write_float(synth, kBlock, left.data(), 0, 1, right.data(), 0, 1);
        measured.Add(left.data(), right.data(), kBlock);
    } while (fluid_player_get_status(player) == FLUID_PLAYER_PLAYING || tail-- > 0);
    delete_fluid_player(player);
    return measured;
}

double Quantile(std::vector<double> values, double q) {
    if (values.empty())
        return -200.0;
    std::sort(values.begin(), values.end());
    const double position = q * static_cast<double>(values.size() - 1);
    const std::size_t below = static_cast<std::size_t>(position);
    const std::size_t above = std::min(below + 1, values.size() - 1);
    return values[below] + (values[above] - values[below]) * (position - static_cast<double>(below));
}

std::vector<std::string> SongsIn(const std::string& folder, std::size_t count) {
    std::vector<std::string> all;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(folder, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        const std::string extension = it->path().extension().string();
        if (it->is_regular_file() && (extension == ".mid" || extension == ".rmi" || extension == ".kar"))
            all.push_back(it->path().string());
    }
    std::sort(all.begin(), all.end());
    std::vector<std::string> chosen;
    for (std::size_t i = 0; i < count && i < all.size(); ++i)
        chosen.push_back(all[i * all.size() / std::min(count, all.size())]);
    return chosen;
}

struct Summary {
    double median, iqr, spread;
    std::size_t squashed;
    std::uint64_t clipped;
};

Summary Summarise(const std::vector<Measured>& songs) {
    std::vector<double> levels;
    Summary summary{0, 0, 0, 0, 0};
    for (const Measured& song : songs) {
        if (!song.played)
            continue;
        levels.push_back(song.RmsDb());
        summary.squashed += song.NearShare() > 0.01;
        summary.clipped += song.clipped;
    }
    summary.median = Quantile(levels, 0.5);
    summary.iqr = Quantile(levels, 0.75) - Quantile(levels, 0.25);
    summary.spread = Quantile(levels, 1.0) - Quantile(levels, 0.0);
    return summary;
}

} // namespace

int main(int argc, char** argv) {
    std::string soundFont = mci::FindSoundFont(mci::SystemSoundFonts());
    std::vector<std::string> songs;
    int denseSongs = 10;
    std::string denseFolder;
    for (const auto& entry : std::filesystem::directory_iterator(SHUFFLON_DEMO_DIR)) {
        const std::string extension = entry.path().extension().string();
        if (extension == ".mid" || extension == ".rmi" || extension == ".kar")
            songs.push_back(entry.path().string());
    }
    std::sort(songs.begin(), songs.end());
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--soundfont" && i + 1 < argc) {
            soundFont = argv[++i];
        } else if (arg == "--dense" && i + 1 < argc) {
            denseSongs = std::atoi(argv[++i]);
        } else if (arg == "--dense-folder" && i + 1 < argc) {
            denseFolder = argv[++i];
        } else if (arg == "--songs" && i + 1 < argc) {
            const std::string folder = argv[++i];
            std::size_t count = 40;
            if (i + 2 < argc && std::string(argv[i + 1]) == "--count") {
                count = static_cast<std::size_t>(std::atoi(argv[i + 2]));
                i += 2;
            }
            const auto chosen = SongsIn(folder, count);
            songs.insert(songs.end(), chosen.begin(), chosen.end());
        } else {
            std::fprintf(
                stderr,
                "usage: bench_loudness [--songs FOLDER [--count N]]... [--dense N] [--dense-folder DIR] "
                "[--soundfont SF]\n");
            return 2;
        }
    }
    mci::LoadedSoundFont loaded = mci::LoadSoundFontSynth(soundFont);
    if (!loaded.synth) {
        std::fprintf(stderr, "bench_loudness: %s: %s\n", soundFont.c_str(),
                     mci::DescribeSoundFontProblem(loaded.problem));
        return 2;
    }
    const mci::FluidSynthSink& synth = *loaded.synth;
    mci::UseOfflineOutput(std::move(loaded.synth));
    mcitest::TempDir dir;
    if (!denseFolder.empty())
        std::filesystem::create_directories(denseFolder);
    for (int i = 0; i < denseSongs; ++i) {
        const std::string name = "orchestra" + std::to_string(i) + ".mid";
        const std::string path = denseFolder.empty() ? dir.Path(name) : denseFolder + "/" + name;
        MakeOrchestralSong(static_cast<std::uint32_t>(i)).WriteTo(path);
        songs.push_back(path);
    }

    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_setnum(settings, "synth.sample-rate", mci::kSampleRate);
    fluid_synth_t* reference = new_fluid_synth(settings);
    fluid_synth_sfload(reference, soundFont.c_str(), 1);

    std::vector<Measured> ours, theirs;
    std::printf("%-36s %30s   %22s\n", "", "ours", "fluidsynth");
    std::printf("%-36s %7s %7s %7s %7s   %7s %7s %7s\n", "song", "RMS dB", "peak dB", "near %", "eased %",
                "RMS dB", "peak dB", "near %");
    for (const std::string& song : songs) {
        ours.push_back(RenderOurs(song, synth));
        theirs.push_back(RenderTheirs(reference, song));
        const Measured &a = ours.back(), &b = theirs.back();
        std::printf("%-36.36s %7.1f %7.1f %7.3f %7.2f", std::filesystem::path(song).filename().c_str(),
                    a.RmsDb(), 20 * std::log10(a.peak + 1e-10f), a.NearShare(), a.eased);
        if (b.played)
            std::printf("   %7.1f %7.1f %7.3f", b.RmsDb(), 20 * std::log10(b.peak + 1e-10f), b.NearShare());
        else
            std::printf("   %23s", "cannot read it");
        std::printf("%s\n", a.clipped || b.clipped ? "  clipped" : "");
    }
    mci::Shutdown();
    delete_fluid_synth(reference);
    delete_fluid_settings(settings);

    const Summary a = Summarise(ours), b = Summarise(theirs);
    std::printf("%zu songs. RMS median, interquartile range, spread; songs with over 0.01%% of their samples "
                "within 0.2 dB of the ceiling; clipped samples:\n",
                songs.size());
    std::printf(
        "  ours:       median %6.1f dBFS, IQR %4.1f dB, spread %4.1f dB, %zu squashed, %llu clipped\n",
        a.median, a.iqr, a.spread, a.squashed, static_cast<unsigned long long>(a.clipped));
    std::printf(
        "  fluidsynth: median %6.1f dBFS, IQR %4.1f dB, spread %4.1f dB, %zu squashed, %llu clipped\n",
        b.median, b.iqr, b.spread, b.squashed, static_cast<unsigned long long>(b.clipped));
    std::printf("  IQR ratio ours/fluidsynth %.2f\n", b.iqr > 0 ? a.iqr / b.iqr : 0.0);
    const bool ok = a.median >= -20 && a.median <= -14 && a.iqr <= 4 && a.squashed == 0 && a.clipped == 0;
    std::printf("  goals (median -20..-14 dBFS, IQR at most 4 dB, none squashed, none clipped): %s\n",
                ok ? "met" : "NOT met");
    return ok ? 0 : 1;
}
