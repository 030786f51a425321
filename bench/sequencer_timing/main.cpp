// Sequencer timing: how far from its exact frame each note-on reaches the synthesiser.
//
// A generated song of a few hundred notes at known ticks, with tempo changes among them, is
// played offline (a) by our sequencer device, with a recording sink in front of the FluidSynth
// synthesiser, and (b) by FluidSynth's own fluid_player, through a playback callback that notes
// the frame each note-on is handed to the synthesiser at. The exact frames come from the tempo
// changes by rational arithmetic done here, independently of the reader's tempo map. Printed:
// the largest onset error in frames of each, measured in this run. Goal: ours 0.
//
// A last line shows a property of FluidSynth itself that both share: a voice starts sounding on
// the 64-frame block grid of FluidSynth's mixer, whenever within the block its note-on came.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <fluidsynth.h>
#include <unistd.h>

#include "platform/mci/FluidSynthSink.h"
#include "platform/mci/Mci.h"
#include "platform/mci/RecordingSink.h"
#include "platform/mci/SoundFont.h"

#include "SmfBuilder.h"

namespace {

constexpr std::uint32_t kDivision = 480;
constexpr int kNotes = 400;

struct TempoChange {
    std::uint64_t tick;
    std::uint32_t microsPerQuarter;
};

// Tempos that do not divide evenly into frames, changing at ticks that fall between notes and on them.
const std::vector<TempoChange> kTempos = {
    {0, 500000},    {1000, 428571}, {2345, 612345},  {4000, 333333},  {5555, 545454},  {7001, 476190},
    {8800, 701234}, {9999, 250001}, {11111, 388888}, {12500, 523809}, {14000, 299999}, {15750, 600001},
};

std::uint64_t ExactFrame(std::uint64_t tick) {
    // Elapsed time in microseconds times the division, summed exactly, then turned into frames
    // with one rounding down.
    unsigned __int128 numerator = 0;
    for (std::size_t i = 0; i < kTempos.size() && kTempos[i].tick < tick; ++i) {
        const std::uint64_t end = i + 1 < kTempos.size() ? std::min(kTempos[i + 1].tick, tick) : tick;
        numerator += static_cast<unsigned __int128>(end - kTempos[i].tick) * kTempos[i].microsPerQuarter;
    }
    return static_cast<std::uint64_t>(numerator * 44100 /
                                      (static_cast<unsigned __int128>(kDivision) * 1000000));
}

// The song, and the ticks of its note-ons in time order.
std::vector<std::uint8_t> MakeSong(std::vector<std::uint64_t>& noteTicks) {
    mcitest::SmfBuilder song(1, kDivision);
    const int tempo = song.AddTrack();
    const int music = song.AddTrack();
    for (const TempoChange& change : kTempos)
        song.Add(tempo, change.tick, mcitest::Tempo(change.microsPerQuarter));
    song.Add(music, 0, mcitest::Program(0, 0));
    std::uint32_t random = 12345;
    std::uint64_t tick = 0;
    for (int i = 0; i < kNotes; ++i) {
        random = random * 1103515245 + 12345;
        tick += 10 + (random >> 16) % 70; // 10 to 79 ticks apart, so notes land on tempo changes too
        const int key = 48 + i % 36;
        song.Add(music, tick, mcitest::NoteOn(0, key, 100)).Add(music, tick + 8, mcitest::NoteOff(0, key));
        noteTicks.push_back(tick);
    }
    return song.Build();
}

struct Errors {
    long largest = 0, smallest = 0;
    double meanAbsolute = 0;
    std::size_t count = 0;
};

Errors Compare(const std::vector<std::uint64_t>& got, const std::vector<std::uint64_t>& expected) {
    Errors errors;
    errors.count = std::min(got.size(), expected.size());
    double sum = 0;
    for (std::size_t i = 0; i < errors.count; ++i) {
        const long error = static_cast<long>(got[i]) - static_cast<long>(expected[i]);
        errors.largest = i == 0 ? error : std::max(errors.largest, error);
        errors.smallest = i == 0 ? error : std::min(errors.smallest, error);
        sum += std::labs(error);
    }
    errors.meanAbsolute = errors.count ? sum / static_cast<double>(errors.count) : 0;
    return errors;
}

long LargestAbsolute(const Errors& e) {
    return std::max(std::labs(e.largest), std::labs(e.smallest));
}

std::vector<std::uint64_t> OursOnsets(const std::string& path, const std::string& soundFont) {
    auto synth = mci::FluidSynthSink::Create(soundFont);
    auto recorder = std::make_unique<mci::RecordingSink>(synth.get());
    const mci::RecordingSink* recording = recorder.get();
    // The recording sink forwards to the synthesiser, which must outlive it: the device owns the
    // recorder, we keep the synthesiser until the device lets the recorder go.
    mci::UseOfflineOutput(std::move(recorder));
    MCI_OPEN_PARMS open;
    open.lpstrDeviceType = "sequencer";
    open.lpstrElementName = path.c_str();
    if (mciSendCommand(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT, &open) != 0)
        return {};
    MCI_PLAY_PARMS play;
    mciSendCommand(open.wDeviceID, MCI_PLAY, 0, &play);
    std::vector<float> left(512), right(512);
    MCI_STATUS_PARMS status;
    status.dwItem = MCI_STATUS_MODE;
    do {
        mci::RenderOffline(left.data(), right.data(), left.size());
        mciSendCommand(open.wDeviceID, MCI_STATUS, MCI_STATUS_ITEM, &status);
    } while (status.dwReturn == MCI_MODE_PLAY);
    std::vector<std::uint64_t> onsets;
    for (const auto& message : recording->Messages())
        if (message.IsNoteOn())
            onsets.push_back(message.frame);
    mci::Shutdown();
    return onsets;
}

struct PlayerProbe {
    fluid_synth_t* synth;
    std::uint64_t blockStart = 0;
    std::vector<std::uint64_t> onsets;
};

int OnPlayerEvent(void* data, fluid_midi_event_t* event) {
    auto* probe = static_cast<PlayerProbe*>(data);
    // The player runs from FluidSynth's sample timer at the start of each 64-frame block, before
    // the block is rendered: the note-on reaches the synthesiser at the block's first frame.
    if (fluid_midi_event_get_type(event) == 0x90 && fluid_midi_event_get_velocity(event) > 0)
        probe->onsets.push_back(probe->blockStart);
    return fluid_synth_handle_midi_event(probe->synth, event);
}

std::vector<std::uint64_t> PlayerOnsets(const std::vector<std::uint8_t>& song, const std::string& soundFont) {
    fluid_settings_t* settings = new_fluid_settings();
    mci::FluidSynthSink::ApplySettings(settings);
    fluid_synth_t* synth = new_fluid_synth(settings);
    fluid_synth_sfload(synth, soundFont.c_str(), 1);
    fluid_player_t* player = new_fluid_player(synth);
    PlayerProbe probe{synth, 0, {}};
    fluid_player_set_playback_callback(player, OnPlayerEvent, &probe);
    fluid_player_add_mem(player, song.data(), song.size());
    fluid_player_play(player);
    float left[64], right[64];
    const int block = fluid_synth_get_internal_bufsize(synth);
    while (fluid_player_get_status(player) == FLUID_PLAYER_PLAYING) {
        fluid_synth_write_float(synth, block, left, 0, 1, right, 0, 1);
        probe.blockStart += static_cast<std::uint64_t>(block);
    }
    delete_fluid_player(player);
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    return probe.onsets;
}

// Where a note-on given at each offset within a block first sounds, straight on FluidSynth.
void VoiceGrid(const std::string& soundFont) {
    fluid_settings_t* settings = new_fluid_settings();
    mci::FluidSynthSink::ApplySettings(settings);
    fluid_synth_t* synth = new_fluid_synth(settings);
    fluid_synth_sfload(synth, soundFont.c_str(), 1);
    // Without reverb and chorus, whose tails never quite reach zero, silence is exactly zero.
    fluid_synth_reverb_on(synth, -1, 0);
    fluid_synth_chorus_on(synth, -1, 0);
    std::vector<float> left(4096), right(4096);
    auto render = [&](std::size_t from, std::size_t frames) {
        fluid_synth_write_float(synth, static_cast<int>(frames), left.data() + from, 0, 1,
                                right.data() + from, 0, 1);
    };
    long smallest = 1 << 30, largest = -1;
    for (std::size_t offset = 1000; offset < 1128; ++offset) {
        fluid_synth_all_sounds_off(synth, -1);
        render(0, 4096); // let the previous note die away
        render(0, offset);
        fluid_synth_noteon(synth, 0, 60, 127);
        render(offset, 4096 - offset);
        std::size_t first = offset;
        while (first < 4096 && left[first] == 0.0f && right[first] == 0.0f)
            ++first;
        fluid_synth_noteoff(synth, 0, 60);
        const long lag = static_cast<long>(first) - static_cast<long>(offset);
        smallest = std::min(smallest, lag);
        largest = std::max(largest, lag);
    }
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    std::printf(
        "  FluidSynth voices start on its %d-frame grid: a note-on sounds %ld to %ld frames after the "
        "frame it was given at (both players alike)\n",
        64, smallest, largest);
}

} // namespace

int main() {
    const std::string soundFont = mci::FindSoundFont(mci::SystemSoundFonts());
    if (soundFont.empty()) {
        std::printf("sequencer timing: skipped, no General MIDI SoundFont installed\n");
        return 0;
    }
    std::vector<std::uint64_t> ticks;
    const std::vector<std::uint8_t> song = MakeSong(ticks);
    std::vector<std::uint64_t> expected;
    for (std::uint64_t tick : ticks)
        expected.push_back(ExactFrame(tick));
    char path[] = "/tmp/shufflon-timing-XXXXXX.mid";
    const int fd = ::mkstemps(path, 4);
    if (fd < 0 || ::write(fd, song.data(), song.size()) != static_cast<ssize_t>(song.size()))
        return 1;
    ::close(fd);

    const auto ours = OursOnsets(path, soundFont);
    const auto theirs = PlayerOnsets(song, soundFont);
    ::unlink(path);
    const Errors ourErrors = Compare(ours, expected);
    const Errors theirErrors = Compare(theirs, expected);
    std::printf(
        "sequencer timing: %d notes, %zu tempo changes, %u Hz, note-on frames at the synthesiser vs exact\n",
        kNotes, kTempos.size(), mci::kSampleRate);
    std::printf(
        "  ours (MCI sequencer device):  %zu note-ons, largest error %ld frames, mean %.2f, range %ld..%ld\n",
        ours.size(), LargestAbsolute(ourErrors), ourErrors.meanAbsolute, ourErrors.smallest,
        ourErrors.largest);
    std::printf(
        "  FluidSynth's fluid_player:    %zu note-ons, largest error %ld frames, mean %.2f, range %ld..%ld\n",
        theirs.size(), LargestAbsolute(theirErrors), theirErrors.meanAbsolute, theirErrors.smallest,
        theirErrors.largest);
    VoiceGrid(soundFont);
    const bool ok = ours.size() == expected.size() && LargestAbsolute(ourErrors) == 0;
    std::printf("  goal (ours 0 frames): %s\n", ok ? "met" : "NOT met");
    return ok ? 0 : 1;
}
