// Reading benchmark: our reader plus tempo map against FluidSynth's own player loading the same
// dense format 1 file of about 5 MB, made here so the run needs no files. Both are timed several
// times in one run and the best of each is compared. Goal: ours / FluidSynth's <= 0.5.
//
// FluidSynth's player parses a file only when the synthesiser's sample timer first calls it after
// fluid_player_play, so its timing covers creating the player, adding the file, starting it and
// rendering one 64-frame block; that block plays only the events of tick 0.

#include <fluidsynth.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <random>
#include <string_view>
#include <vector>

#include "platform/midi/MidiFile.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

void PutBe32(Bytes& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void PutVlq(Bytes& out, std::uint32_t v) {
    std::uint8_t bytes[4];
    int n = 0;
    do {
        bytes[n++] = static_cast<std::uint8_t>(v & 0x7F);
        v >>= 7;
    } while (v != 0 && n < 4);
    while (n-- > 0)
        out.push_back(static_cast<std::uint8_t>(bytes[n] | (n > 0 ? 0x80 : 0)));
}

// Sixteen tracks of fast notes with running status, controllers and pitch bends, the first track
// also carrying a tempo change every few hundred ticks: what a busy arrangement looks like.
Bytes MakeDenseFile(std::size_t targetSize) {
    constexpr int kTracks = 16;
    std::mt19937 random(1234);
    std::vector<Bytes> tracks(kTracks);
    const std::size_t perTrack = targetSize / kTracks;
    for (int t = 0; t < kTracks; ++t) {
        Bytes& body = tracks[static_cast<std::size_t>(t)];
        const std::uint8_t channel = static_cast<std::uint8_t>(t);
        body.insert(body.end(),
                    {0x00, static_cast<std::uint8_t>(0xC0 | channel), static_cast<std::uint8_t>(t * 7)});
        std::uint8_t running = 0;
        int sinceTempo = 0;
        while (body.size() < perTrack) {
            const std::uint32_t roll = random() % 100;
            if (t == 0 && ++sinceTempo == 300) {
                sinceTempo = 0;
                PutVlq(body, random() % 4);
                const std::uint32_t tempo = 300000 + random() % 400000;
                body.insert(body.end(),
                            {0xFF, 0x51, 0x03, static_cast<std::uint8_t>(tempo >> 16),
                             static_cast<std::uint8_t>(tempo >> 8), static_cast<std::uint8_t>(tempo)});
                running = 0; // a meta event ends running status for strict readers
                continue;
            }
            PutVlq(body, random() % 6 == 0 ? 0 : random() % 200);
            std::uint8_t status;
            if (roll < 80)
                status = static_cast<std::uint8_t>(0x90 | channel);
            else if (roll < 92)
                status = static_cast<std::uint8_t>(0xB0 | channel);
            else
                status = static_cast<std::uint8_t>(0xE0 | channel);
            if (status != running) {
                body.push_back(status);
                running = status;
            }
            body.push_back(static_cast<std::uint8_t>(36 + random() % 60));
            body.push_back(static_cast<std::uint8_t>(roll < 40 ? 0 : random() % 128));
        }
        body.insert(body.end(), {0x00, 0xFF, 0x2F, 0x00});
    }
    Bytes file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, kTracks, 0x01, 0xE0};
    for (const Bytes& body : tracks) {
        file.insert(file.end(), {'M', 'T', 'r', 'k'});
        PutBe32(file, static_cast<std::uint32_t>(body.size()));
        file.insert(file.end(), body.begin(), body.end());
    }
    return file;
}

struct Stamp {
    Clock::time_point wall;
    double cpu;
};

Stamp Now() {
    timespec cpu{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
    return Stamp{Clock::now(), static_cast<double>(cpu.tv_sec) + static_cast<double>(cpu.tv_nsec) * 1e-9};
}

struct Best {
    double cpu = 1e9;
    double wall = 1e9;
    void Add(const Stamp& start, const Stamp& stop) {
        cpu = std::min(cpu, stop.cpu - start.cpu);
        wall = std::min(wall, std::chrono::duration<double>(stop.wall - start.wall).count());
    }
};

} // namespace

int main(int argc, char** argv) {
    const Bytes file = MakeDenseFile(5 << 20);
    // "--write FILE" keeps the generated file for a look with other tools.
    if (argc == 3 && std::string_view(argv[1]) == "--write") {
        std::FILE* out = std::fopen(argv[2], "wb");
        const bool written = out != nullptr && std::fwrite(file.data(), 1, file.size(), out) == file.size();
        if (out != nullptr)
            std::fclose(out);
        return written ? 0 : 1;
    }
    for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level)
        fluid_set_log_function(level, nullptr, nullptr);

    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_setint(settings, "synth.reverb.active", 0);
    fluid_settings_setint(settings, "synth.chorus.active", 0);
    fluid_synth_t* synth = new_fluid_synth(settings);
    std::vector<std::int16_t> block(2 * 64);

    // The two are timed in alternation so that both see the same load on the shared machine, and
    // by the thread's CPU time, which waiting for a core does not inflate; wall time is shown too.
    constexpr int kRounds = 9;
    Best ours;
    Best theirs;
    std::size_t events = 0;
    std::uint64_t lengthMicros = 0;
    int totalTicks = 0;
    for (int round = 0; round < kRounds; ++round) {
        {
            const Stamp start = Now();
            auto song = midi::ParseMidi(file);
            ours.Add(start, Now());
            if (!song.ok()) {
                std::fprintf(stderr, "our reader refused the file: %s\n",
                             midi::DescribeReadError(song.error()).c_str());
                return 1;
            }
            events = song.value().events.size();
            lengthMicros = song.value().lengthMicros;
        }
        {
            const Stamp start = Now();
            fluid_player_t* player = new_fluid_player(synth);
            fluid_player_add_mem(player, file.data(), file.size());
            fluid_player_play(player);
            fluid_synth_write_s16(synth, 64, block.data(), 0, 2, block.data(), 1, 2);
            theirs.Add(start, Now());
            totalTicks = fluid_player_get_total_ticks(player);
            fluid_player_stop(player);
            fluid_synth_write_s16(synth, 64, block.data(), 0, 2, block.data(), 1, 2);
            delete_fluid_player(player);
        }
    }
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);

    std::printf("file: %zu bytes, format 1, 16 tracks, %zu events, %.1f s long\n", file.size(), events,
                static_cast<double>(lengthMicros) / 1e6);
    if (totalTicks <= 0) {
        std::fprintf(stderr, "FluidSynth's player did not load the file\n");
        return 1;
    }
    std::printf("best of %d rounds      CPU ms    wall ms\n", kRounds);
    std::printf("ours (reader + tempo)  %7.2f   %7.2f\n", ours.cpu * 1e3, ours.wall * 1e3);
    std::printf("FluidSynth player load %7.2f   %7.2f\n", theirs.cpu * 1e3, theirs.wall * 1e3);
    std::printf("ratio ours/FluidSynth: %.3f by CPU time, %.3f by wall time (goal <= 0.5)\n",
                ours.cpu / theirs.cpu, ours.wall / theirs.wall);
    return 0;
}
