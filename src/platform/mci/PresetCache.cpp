#include "platform/mci/PresetCache.h"

#include <algorithm>

#include <cstdio>

#include <fluidsynth.h>
#include <malloc.h>
#include <unistd.h>

namespace mci {

namespace {

PresetTable ReadTable(fluid_synth_t* synth, int soundFontId) {
    std::vector<PresetId> presets;
    fluid_sfont_t* soundFont = fluid_synth_get_sfont_by_id(synth, soundFontId);
    if (!soundFont)
        return {};
    fluid_sfont_iteration_start(soundFont);
    while (fluid_preset_t* preset = fluid_sfont_iteration_next(soundFont)) {
        const int bank = fluid_preset_get_banknum(preset), program = fluid_preset_get_num(preset);
        if (bank >= 0 && bank <= 0xFFFF && program >= 0 && program < 128)
            presets.push_back(PresetId{static_cast<std::uint16_t>(bank), static_cast<std::uint8_t>(program)});
    }
    return PresetTable(std::move(presets));
}

// What the allocator has handed out, on its heap and in mappings of their own.
std::size_t AllocatedBytes() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// The process's resident memory, 0 when it cannot be read. Where another allocator stands in for
// the C library's (the sanitizers'), only this one sees the sample data.
std::size_t ResidentBytes() {
    std::FILE* file = std::fopen("/proc/self/statm", "r");
    if (!file)
        return 0;
    unsigned long size = 0, resident = 0;
    const bool read = std::fscanf(file, "%lu %lu", &size, &resident) == 2;
    std::fclose(file);
    return read ? resident * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE)) : 0;
}

} // namespace

PresetCache::PresetCache(fluid_synth_t* synth, int soundFontId)
    : m_synth(synth), m_soundFontId(soundFontId), m_table(ReadTable(synth, soundFontId)),
      m_loaded(m_table.Size(), false), m_kept(m_table.Size(), false), m_bytes(m_table.Size(), 0),
      m_lastNeeded(m_table.Size(), 0) {
    fluid_synth_set_bank_offset(m_synth, m_soundFontId, kBankOffset);
}

std::size_t PresetCache::LoadedCount() const {
    return static_cast<std::size_t>(std::count(m_loaded.begin(), m_loaded.end(), true));
}

void PresetCache::Load(const std::vector<std::size_t>& needed) {
    ++m_round;
    for (const std::size_t index : needed) {
        if (!m_loaded[index])
            m_loaded[index] = Pin(index);
        m_lastNeeded[index] = m_round;
    }
    ChooseKept();
}

void PresetCache::ChooseKept() {
    std::vector<std::size_t> others;
    std::size_t kept = 0;
    for (std::size_t index = 0; index < m_table.Size(); ++index) {
        m_kept[index] = m_loaded[index] && m_lastNeeded[index] == m_round;
        if (m_kept[index])
            kept += m_bytes[index];
        else if (m_loaded[index])
            others.push_back(index);
    }
    std::stable_sort(others.begin(), others.end(),
                     [this](std::size_t a, std::size_t b) { return m_lastNeeded[a] > m_lastNeeded[b]; });
    for (const std::size_t index : others) {
        if (kept + m_bytes[index] > kKeptBytes)
            break;
        kept += m_bytes[index];
        m_kept[index] = true;
    }
}

void PresetCache::Select(int channel, std::size_t index) {
    const PresetId preset = m_table.At(index);
    fluid_synth_program_select(m_synth, channel, m_soundFontId, preset.bank + kBankOffset, preset.program);
}

bool PresetCache::Pin(std::size_t index) {
    const PresetId preset = m_table.At(index);
    // What loading it takes from the allocator, or adds to the resident memory. Other threads take
    // memory meanwhile too, but little beside sample data.
    const std::size_t allocatedBefore = AllocatedBytes(), residentBefore = ResidentBytes();
    const bool pinned =
        fluid_synth_pin_preset(m_synth, m_soundFontId, preset.bank + kBankOffset, preset.program) == FLUID_OK;
    const std::size_t allocated = AllocatedBytes(), resident = ResidentBytes();
    m_bytes[index] = std::max(allocated > allocatedBefore ? allocated - allocatedBefore : 0,
                              resident > residentBefore ? resident - residentBefore : 0);
    return pinned;
}

void PresetCache::ReleaseUnkept() {
    for (std::size_t index = 0; index < m_table.Size(); ++index) {
        const PresetId preset = m_table.At(index);
        if (!m_loaded[index] || Kept(index) || SelectedOnAChannel(preset))
            continue;
        if (fluid_synth_unpin_preset(m_synth, m_soundFontId, preset.bank + kBankOffset, preset.program) ==
            FLUID_OK)
            m_loaded[index] = false;
    }
}

bool PresetCache::SelectedOnAChannel(PresetId preset) const {
    const int channels = fluid_synth_count_midi_channels(m_synth);
    for (int channel = 0; channel < channels; ++channel) {
        fluid_preset_t* selected = fluid_synth_get_channel_preset(m_synth, channel);
        if (selected && fluid_preset_get_banknum(selected) == preset.bank &&
            fluid_preset_get_num(selected) == preset.program)
            return true;
    }
    return false;
}

bool PresetCache::VoicesFallSilent() {
    // Voices told to stop (closing a song silences every channel) let go of their samples only
    // when the synthesiser next renders: a few blocks that nobody hears finish them. A voice that
    // still sounds after that keeps everything loaded until the next song.
    constexpr int kBlock = 64, kBlocks = 16;
    float scratch[2][kBlock];
    for (int i = 0; i < kBlocks && fluid_synth_get_active_voice_count(m_synth) > 0; ++i)
        fluid_synth_write_float(m_synth, kBlock, scratch[0], 0, 1, scratch[1], 0, 1);
    return fluid_synth_get_active_voice_count(m_synth) == 0;
}

} // namespace mci
