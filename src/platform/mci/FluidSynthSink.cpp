#include "platform/mci/FluidSynthSink.h"

#include <climits>

#include <fluidsynth.h>

#include "platform/mci/FluidLog.h"

namespace mci {

namespace {
// FluidSynth's own default gain (0.2) left melodies near -20 dBFS peak, far quieter than other
// desktop audio. At this gain the demo songs peak a few dB below full scale; the loudest presets
// and dense songs go over it, which the sink's limiter holds at -1 dBFS (bench_loudness measures
// both).
constexpr double kGain = 1.25;
} // namespace

void FluidSynthSink::ApplySettings(fluid_settings_t* settings) {
    fluid_settings_setnum(settings, "synth.sample-rate", kSampleRate);
    fluid_settings_setnum(settings, "synth.gain", kGain);
    // Every call comes from the one thread that renders, so FluidSynth's API mutex would only ever
    // be a lock the audio thread could wait on.
    fluid_settings_setint(settings, "synth.threadsafe-api", 0);
    fluid_settings_setint(settings, "synth.cpu-cores", 1);
}

std::unique_ptr<FluidSynthSink> FluidSynthSink::Create(const std::string& soundFont, Failure* failure) {
    QuietFluidSynthLogging();
    if (failure)
        *failure = Failure::None;
    fluid_settings_t* settings = new_fluid_settings();
    if (!settings) {
        if (failure)
            *failure = Failure::NoSynthesiser;
        return nullptr;
    }
    ApplySettings(settings);
    fluid_synth_t* synth = new_fluid_synth(settings);
    if (!synth) {
        delete_fluid_settings(settings);
        if (failure)
            *failure = Failure::NoSynthesiser;
        return nullptr;
    }
    std::unique_ptr<FluidSynthSink> sink(new FluidSynthSink(settings, synth));
    if (fluid_synth_sfload(synth, soundFont.c_str(), 1) == FLUID_FAILED) {
        if (failure)
            *failure = Failure::SoundFontNotLoaded;
        return nullptr;
    }
    return sink;
}

FluidSynthSink::FluidSynthSink(fluid_settings_t* settings, fluid_synth_t* synth)
    : m_settings(settings), m_synth(synth) {}

FluidSynthSink::~FluidSynthSink() {
    delete_fluid_synth(m_synth);
    delete_fluid_settings(m_settings);
}

void FluidSynthSink::ShortMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    const int channel = status & 0x0F;
    switch (status & 0xF0) {
    case 0x80:
        fluid_synth_noteoff(m_synth, channel, data1);
        break;
    case 0x90:
        // FluidSynth takes a note-on of velocity 0 as the note-off it is.
        fluid_synth_noteon(m_synth, channel, data1, data2);
        break;
    case 0xA0:
        fluid_synth_key_pressure(m_synth, channel, data1, data2);
        break;
    case 0xB0:
        fluid_synth_cc(m_synth, channel, data1, data2);
        break;
    case 0xC0:
        fluid_synth_program_change(m_synth, channel, data1);
        break;
    case 0xD0:
        fluid_synth_channel_pressure(m_synth, channel, data1);
        break;
    case 0xE0:
        fluid_synth_pitch_bend(m_synth, channel, data1 | (data2 << 7));
        break;
    default:
        break;
    }
}

void FluidSynthSink::SystemExclusive(std::span<const std::uint8_t> body) {
    if (body.empty() || body.size() > INT_MAX)
        return;
    fluid_synth_sysex(m_synth, reinterpret_cast<const char*>(body.data()), static_cast<int>(body.size()),
                      nullptr, nullptr, nullptr, 0);
}

void FluidSynthSink::Render(float* left, float* right, std::size_t frames) {
    while (frames > 0) {
        const int chunk = frames > INT_MAX ? INT_MAX : static_cast<int>(frames);
        fluid_synth_write_float(m_synth, chunk, left, 0, 1, right, 0, 1);
        m_limiter.Process(left, right, static_cast<std::size_t>(chunk));
        left += chunk;
        right += chunk;
        frames -= static_cast<std::size_t>(chunk);
    }
}

} // namespace mci
