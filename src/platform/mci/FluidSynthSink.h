#pragma once

// The synthesiser of the sequencer: one FluidSynth instance with a General MIDI SoundFont,
// rendering at kSampleRate. Only the thread that renders may call it once rendering has started
// (or a thread it is lent to); it is created with FluidSynth's own API lock switched off, so that
// the audio thread never waits on a lock.
//
// The SoundFont's sample data is loaded only for the presets songs use (PresetCache): a General
// MIDI SoundFont is large, and a player that sits in the tray all day should not hold all of it.
// Program changes are decided here (PresetChoice) and only ever select a loaded preset, so the
// audio thread never reads from the disk; PrepareFor loads what the next song will select.

#include <memory>
#include <string>

#include <atomic>
#include <optional>

#include "platform/mci/Loudness.h"
#include "platform/mci/MidiSink.h"
#include "platform/mci/PresetCache.h"
#include "platform/mci/PresetChoice.h"

typedef struct _fluid_synth_t fluid_synth_t;
typedef struct _fluid_hashtable_t fluid_settings_t;

namespace mci {

class FluidSynthSink final : public MidiSink {
public:
    enum class Failure { None, NoSynthesiser, SoundFontNotLoaded };

    // Creates the synthesiser and loads the SoundFont; nullptr (and the reason) when either fails.
    static std::unique_ptr<FluidSynthSink> Create(const std::string& soundFont, Failure* failure = nullptr);
    ~FluidSynthSink() override;
    FluidSynthSink(const FluidSynthSink&) = delete;
    FluidSynthSink& operator=(const FluidSynthSink&) = delete;

    void ShortMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override;
    void SystemExclusive(std::span<const std::uint8_t> body) override;
    void Render(float* left, float* right, std::size_t frames) override;
    void PrepareFor(const PlayableSong& song) override;

    // For tests and benchmarks that look at the channels' state or compare with FluidSynth's own
    // player. Not to be used while the audio thread renders.
    fluid_synth_t* Synth() const { return m_synth; }
    const PresetCache& Presets() const { return m_presets; }
    const Loudness& Level() const { return m_loudness; }
    // Notes that found their channel's preset not loaded (played by a stand-in, or not at all).
    std::uint64_t UnpreparedNotes() const { return m_unpreparedNotes.load(std::memory_order_relaxed); }

    // The settings every synthesiser of ours gets (sample rate, gain, no API lock), so that the
    // benchmarks can build FluidSynth references with exactly the same ones.
    static void ApplySettings(fluid_settings_t* settings);

private:
    FluidSynthSink(fluid_settings_t* settings, fluid_synth_t* synth);

    // The synthesiser's channel takes the preset ours has: selected when it is loaded, else parked.
    void Show(unsigned channel);
    void Select(unsigned channel, std::size_t preset);
    void Park(unsigned channel);
    void Unpark(unsigned channel);
    void UpdateChannelKinds();

    fluid_settings_t* m_settings;
    fluid_synth_t* m_synth;
    int m_soundFontId = -1;
    PresetCache m_presets;
    ChannelPrograms m_channels;
    std::optional<std::size_t> m_shown[16]; // the preset the synthesiser has selected on each channel
    std::uint16_t m_parked = 0xFFFF;        // channels whose preset waits to be loaded
    std::uint16_t m_drumChannels = 1u << 9; // the channels the synthesiser treats as drum channels
    std::atomic<std::uint64_t> m_unpreparedNotes{0};
    Loudness m_loudness;
};

} // namespace mci
