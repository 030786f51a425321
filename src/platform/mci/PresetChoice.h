#pragma once

// Which SoundFont preset a program change selects. The synthesiser selects presets only as we
// tell it (never through its own program change), so that we know every preset it will touch
// before the song starts: the presets are loaded on a thread of ours, and the audio thread only
// ever selects presets that are loaded.
//
// The rules are those of General MIDI modules:
// - GS (at power-on, after a GS reset): bank select MSB (controller 0) picks the bank of a melodic
//   channel, LSB is ignored; channel 10 plays drums, and a GS "use for rhythm part" message makes
//   any channel a drum or melodic channel (selecting its program 0).
// - GM (after GM System On): bank select is ignored.
// - XG (after an XG reset): MSB 120 and above makes the channel a drum channel, below it a melodic
//   one; LSB picks the melodic bank.
// A reset of any kind sets every channel to bank 0 and only channel 10 to drums. A drum channel
// plays the kits of bank 128. A preset the SoundFont lacks falls back as the synthesiser's own
// program change does: a kit to kit 0, a melodic program to bank 0, then to program 0.

#include <bitset>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/mci/PlayableSong.h"

namespace mci {

inline constexpr std::uint16_t kDrumBank = 128;

struct PresetId {
    std::uint16_t bank = 0;
    std::uint8_t program = 0;

    auto operator<=>(const PresetId&) const = default;
};

// The presets a SoundFont offers, in order.
class PresetTable {
public:
    PresetTable() = default;
    explicit PresetTable(std::vector<PresetId> presets);

    std::size_t Size() const { return m_presets.size(); }
    const PresetId& At(std::size_t index) const { return m_presets[index]; }
    // The preset's place in the table, or nothing when the SoundFont lacks it.
    std::optional<std::size_t> IndexOf(PresetId preset) const;
    // The preset a request ends up with after the fallbacks above, or nothing when the SoundFont
    // has none of them.
    std::optional<std::size_t> Resolve(PresetId wanted) const;

private:
    std::vector<PresetId> m_presets;
};

// The state of the 16 channels that decides what a program change selects, and the preset each
// channel plays.
class ChannelPrograms {
public:
    enum class Mode : std::uint8_t { Gs, Gm, Xg };

    // What a system exclusive message did to the program choice.
    struct SysexEffect {
        // Ignored: a rhythm part message outside GS mode, which must not reach the synthesiser
        // either (it would select a program there).
        enum class Kind : std::uint8_t { None, Reset, RhythmPart, Ignored } kind = Kind::None;
        unsigned channel = 0; // RhythmPart: the channel whose kind changed (its program 0 is selected)
    };

    // The channels at power-on: GS mode, bank 0, channel 10 drums, every channel on program 0.
    explicit ChannelPrograms(const PresetTable& table);

    void Controller(unsigned channel, std::uint8_t controller, std::uint8_t value);
    // A program change: the preset the channel plays from now on (after fallbacks), if any.
    std::optional<std::size_t> ProgramChange(unsigned channel, std::uint8_t program);
    // The body of a system exclusive message (without F0 and F7).
    SysexEffect SystemExclusive(std::span<const std::uint8_t> body);

    std::optional<std::size_t> Preset(unsigned channel) const { return m_preset[channel & 15]; }
    bool IsDrum(unsigned channel) const { return m_drum[channel & 15]; }

private:
    void Reset(Mode mode);

    const PresetTable* m_table;
    Mode m_mode = Mode::Gs;
    std::uint8_t m_bank[16] = {};
    std::bitset<16> m_drum;
    std::optional<std::size_t> m_preset[16];
};

// The presets a song sounds when it plays from the start with the channels as they are: the
// preset of every channel at each of its notes. Indexes into the table, in the order the song
// first needs them.
std::vector<std::size_t> PresetsOfSong(const PlayableSong& song, ChannelPrograms channels);

} // namespace mci
