#pragma once

// The presets a synthesiser keeps loaded. It reads a SoundFont's sample data only for the presets
// we pin: those the song about to play sounds and, while the sample data loaded stays within
// kKeptBytes, those songs used lately, most recent first, so that a program used again is not
// read from the disk at once. The rest of a large SoundFont stays on the disk.
//
// Pinning reads sample data and releasing frees it, so both happen only on a thread that holds the
// synthesiser while the audio thread leaves it alone (the engine's sink loan); the audio thread
// only asks IsLoaded, and the loan's hand-back publishes what changed.
//
// A preset that a channel has selected is always pinned: the synthesiser frees a preset's samples
// when its last selection goes, and the audio thread must never be the one that frees them. And
// the synthesiser never selects a preset by itself: the SoundFont's banks are moved out of the
// way of the banks MIDI messages ask for, so that its own program changes and resets find
// nothing, and only Select (with the bank moved alike) reaches the SoundFont's presets.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/mci/PresetChoice.h"

typedef struct _fluid_synth_t fluid_synth_t;

namespace mci {

class PresetCache {
public:
    PresetCache() = default;
    // Takes the SoundFont just loaded (its presets not selected) and moves its banks aside.
    PresetCache(fluid_synth_t* synth, int soundFontId);

    const PresetTable& Table() const { return m_table; }
    bool IsLoaded(std::size_t index) const { return m_loaded[index]; }
    std::size_t LoadedCount() const;
    // Selects a loaded preset on a channel of the synthesiser.
    void Select(int channel, std::size_t index);

    // Presets the song playing does not need stay loaded only while all the sample data loaded
    // stays within this.
    static constexpr std::size_t kKeptBytes = 8u << 20;

    // Loads the presets the next song needs and chooses what else stays loaded.
    void Load(const std::vector<std::size_t>& needed);
    bool Kept(std::size_t index) const { return m_kept[index]; }
    // Lets the synthesiser finish the voices it was told to stop; false when some still sound.
    bool VoicesFallSilent();
    // Lets go of every loaded preset that is not kept and that no channel has selected. Only once
    // VoicesFallSilent said yes: a voice may be playing a sample that would be freed.
    void ReleaseUnkept();

private:
    // Far above the banks a program change can ask for (0 to 128), well within the 14 bits the
    // synthesiser keeps a bank in.
    static constexpr int kBankOffset = 4096;

    bool Pin(std::size_t index);
    void ChooseKept();
    bool SelectedOnAChannel(PresetId preset) const;

    fluid_synth_t* m_synth = nullptr;
    int m_soundFontId = -1;
    PresetTable m_table;
    std::vector<bool> m_loaded, m_kept;
    std::vector<std::size_t> m_bytes;        // the memory loading the preset took
    std::vector<std::uint64_t> m_lastNeeded; // the Load that last needed the preset, 0 for none
    std::uint64_t m_round = 0;
};

} // namespace mci
