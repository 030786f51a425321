#include "platform/mci/FluidSynthSink.h"

#include <climits>
#include <mutex>

#include <malloc.h>

#include <fluidsynth.h>

#include "platform/mci/FluidLog.h"
#include "platform/mci/PlayableSong.h"

namespace mci {

void FluidSynthSink::ApplySettings(fluid_settings_t* settings) {
    fluid_settings_setnum(settings, "synth.sample-rate", kSampleRate);
    // Every call comes from the one thread that renders, so FluidSynth's API mutex would only ever
    // be a lock the audio thread could wait on.
    fluid_settings_setint(settings, "synth.threadsafe-api", 0);
    fluid_settings_setint(settings, "synth.cpu-cores", 1);
    fluid_settings_setint(settings, "synth.dynamic-sample-loading", 1);
    // The device id GS and XG modules answer to (General MIDI messages go to all devices).
    fluid_settings_setint(settings, "synth.device-id", 16);
}

std::unique_ptr<FluidSynthSink> FluidSynthSink::Create(const std::string& soundFont, Failure* failure) {
    QuietFluidSynthLogging();
    // Sample data and songs come and go, in blocks of a few kilobytes to megabytes. Blocks from
    // 64 KiB up get mappings of their own, so that freeing one gives its memory back at once; left
    // to itself, the allocator raises that threshold after the first such block is freed, then
    // keeps the large blocks of later songs in its heap, whose holes it never gives back (a soak
    // over large real songs grew 16 KB a song that way).
    static std::once_flag largeBlocksMapped;
    std::call_once(largeBlocksMapped, [] { mallopt(M_MMAP_THRESHOLD, 64 * 1024); });
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
    // Loaded without selecting its presets: nothing of its sample data is read until a song plays.
    sink->m_soundFontId = fluid_synth_sfload(synth, soundFont.c_str(), 0);
    if (sink->m_soundFontId == FLUID_FAILED) {
        if (failure)
            *failure = Failure::SoundFontNotLoaded;
        return nullptr;
    }
    sink->m_presets = PresetCache(synth, sink->m_soundFontId);
    sink->m_channels = ChannelPrograms(sink->m_presets.Table());
    return sink;
}

FluidSynthSink::FluidSynthSink(fluid_settings_t* settings, fluid_synth_t* synth)
    : m_settings(settings), m_synth(synth), m_channels(m_presets.Table()) {}

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
        if (data2 != 0 && (m_parked & (1u << channel)))
            Unpark(static_cast<unsigned>(channel));
        // FluidSynth takes a note-on of velocity 0 as the note-off it is.
        fluid_synth_noteon(m_synth, channel, data1, data2);
        break;
    case 0xA0:
        fluid_synth_key_pressure(m_synth, channel, data1, data2);
        break;
    case 0xB0:
        m_channels.Controller(channel, data1, data2);
        fluid_synth_cc(m_synth, channel, data1, data2);
        UpdateChannelKinds();
        break;
    case 0xC0:
        m_channels.ProgramChange(static_cast<unsigned>(channel), data1);
        Show(static_cast<unsigned>(channel));
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
    using Kind = ChannelPrograms::SysexEffect::Kind;
    const auto effect = m_channels.SystemExclusive(body);
    // A rhythm part message is ours alone: the synthesiser would pick the channel's new program
    // itself, maybe one that is not loaded.
    if (effect.kind == Kind::RhythmPart) {
        UpdateChannelKinds();
        Show(effect.channel);
        return;
    }
    if (effect.kind == Kind::Ignored)
        return;
    fluid_synth_sysex(m_synth, reinterpret_cast<const char*>(body.data()), static_cast<int>(body.size()),
                      nullptr, nullptr, nullptr, 0);
    if (effect.kind == Kind::Reset) {
        // The synthesiser's own reset leaves its channels without a preset (it finds none of the
        // SoundFont's); ours are back on the piano and the drum kit.
        for (auto& shown : m_shown)
            shown.reset();
        UpdateChannelKinds();
        for (unsigned channel = 0; channel < 16; ++channel)
            Show(channel);
    }
}

void FluidSynthSink::Show(unsigned channel) {
    const auto preset = m_channels.Preset(channel);
    if (preset && m_presets.IsLoaded(*preset))
        Select(channel, *preset);
    else
        Park(channel);
}

void FluidSynthSink::Select(unsigned channel, std::size_t preset) {
    m_parked &= static_cast<std::uint16_t>(~(1u << channel));
    if (m_shown[channel] == preset)
        return;
    m_presets.Select(static_cast<int>(channel), preset);
    m_shown[channel] = preset;
}

void FluidSynthSink::Park(unsigned channel) {
    m_parked |= static_cast<std::uint16_t>(1u << channel);
    if (!m_shown[channel])
        return;
    fluid_synth_unset_program(m_synth, static_cast<int>(channel));
    m_shown[channel].reset();
}

void FluidSynthSink::Unpark(unsigned channel) {
    // The channel's preset was not loaded when it was chosen. PrepareFor loads what a song plays,
    // so this is a song that did what could not be foreseen (relied on a bank an earlier song
    // chose, say): the nearest preset that is loaded stands in, or the channel stays silent,
    // since loading it here would stall the sound.
    const auto preset = m_channels.Preset(channel);
    if (!preset)
        return;
    if (m_presets.IsLoaded(*preset)) {
        Select(channel, *preset);
        return;
    }
    m_unpreparedNotes.fetch_add(1, std::memory_order_relaxed);
    const PresetId wanted = m_presets.Table().At(*preset);
    const PresetId drum[] = {{kDrumBank, 0}};
    const PresetId melodic[] = {{0, wanted.program}, {0, 0}};
    for (const PresetId standIn :
         wanted.bank == kDrumBank ? std::span<const PresetId>(drum) : std::span<const PresetId>(melodic)) {
        if (const auto index = m_presets.Table().IndexOf(standIn); index && m_presets.IsLoaded(*index)) {
            Select(channel, *index);
            return;
        }
    }
}

void FluidSynthSink::UpdateChannelKinds() {
    std::uint16_t drums = 0;
    for (unsigned channel = 0; channel < 16; ++channel)
        drums |= static_cast<std::uint16_t>(m_channels.IsDrum(channel) ? 1u << channel : 0u);
    const std::uint16_t changed = drums ^ m_drumChannels;
    if (changed == 0)
        return;
    for (unsigned channel = 0; channel < 16; ++channel) {
        if (changed & (1u << channel))
            fluid_synth_set_channel_type(m_synth, static_cast<int>(channel),
                                         (drums & (1u << channel)) ? CHANNEL_TYPE_DRUM
                                                                   : CHANNEL_TYPE_MELODIC);
    }
    m_drumChannels = drums;
}

void FluidSynthSink::PrepareFor(const PlayableSong& song) {
    m_loudness.NewSong();
    m_presets.Load(PresetsOfSong(song, m_channels));
    // A channel keeps its preset selected only while that preset is kept: the others are parked
    // (nothing selected) so that their samples can go, and come back when a song plays them.
    const bool silent = m_presets.VoicesFallSilent();
    for (unsigned channel = 0; channel < 16; ++channel) {
        const auto preset = m_channels.Preset(channel);
        if (preset && m_presets.Kept(*preset))
            Select(channel, *preset);
        else if (silent)
            Park(channel);
    }
    if (silent)
        m_presets.ReleaseUnkept();
}

void FluidSynthSink::Render(float* left, float* right, std::size_t frames) {
    while (frames > 0) {
        const int chunk = frames > INT_MAX ? INT_MAX : static_cast<int>(frames);
        fluid_synth_write_float(m_synth, chunk, left, 0, 1, right, 0, 1);
        m_loudness.Process(left, right, static_cast<std::size_t>(chunk));
        left += chunk;
        right += chunk;
        frames -= static_cast<std::size_t>(chunk);
    }
}

} // namespace mci
