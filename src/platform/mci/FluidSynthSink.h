#pragma once

// The synthesiser of the sequencer: one FluidSynth instance with a General MIDI SoundFont,
// rendering at kSampleRate. Only the thread that renders may call it once rendering has started;
// it is created with FluidSynth's own API lock switched off, so that the audio thread never waits
// on a lock.

#include <memory>
#include <string>

#include "platform/mci/MidiSink.h"
#include "platform/mci/PeakLimiter.h"

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

    // For tests and benchmarks that look at the channels' state or compare with FluidSynth's own
    // player. Not to be used while the audio thread renders.
    fluid_synth_t* Synth() const { return m_synth; }

    // The settings every synthesiser of ours gets (sample rate, gain, no API lock), so that the
    // benchmarks can build FluidSynth references with exactly the same ones.
    static void ApplySettings(fluid_settings_t* settings);

private:
    FluidSynthSink(fluid_settings_t* settings, fluid_synth_t* synth);

    fluid_settings_t* m_settings;
    fluid_synth_t* m_synth;
    PeakLimiter m_limiter;
};

} // namespace mci
