#include "platform/mci/PresetChoice.h"

#include <algorithm>

namespace mci {

namespace {

constexpr std::uint8_t kBankMsb = 0, kBankLsb = 32;
constexpr unsigned kDrumChannel = 9;

// Manufacturer and message ids of the system exclusive messages that matter here.
constexpr std::uint8_t kUniversalNonRealTime = 0x7E, kGeneralMidi = 0x09, kGmOn = 0x01, kGm2On = 0x03;
constexpr std::uint8_t kRoland = 0x41, kGsModel = 0x42, kDataSet = 0x12;
constexpr std::uint8_t kYamaha = 0x43, kXgModel = 0x4C;
constexpr std::uint32_t kGsModeSet = 0x40007F;

// A Roland data set: the model byte, the command, a three-byte address, data, a checksum that
// makes the address and data add up to a multiple of 128.
bool RolandChecksumMatches(std::span<const std::uint8_t> body) {
    unsigned sum = 0;
    for (std::size_t i = 4; i + 1 < body.size(); ++i)
        sum += body[i];
    return (128 - sum % 128) % 128 == body.back();
}

} // namespace

PresetTable::PresetTable(std::vector<PresetId> presets) : m_presets(std::move(presets)) {
    std::sort(m_presets.begin(), m_presets.end());
    m_presets.erase(std::unique(m_presets.begin(), m_presets.end()), m_presets.end());
}

std::optional<std::size_t> PresetTable::IndexOf(PresetId preset) const {
    const auto it = std::lower_bound(m_presets.begin(), m_presets.end(), preset);
    if (it == m_presets.end() || *it != preset)
        return std::nullopt;
    return static_cast<std::size_t>(it - m_presets.begin());
}

std::optional<std::size_t> PresetTable::Resolve(PresetId wanted) const {
    if (auto found = IndexOf(wanted))
        return found;
    if (wanted.bank == kDrumBank)
        return IndexOf(PresetId{kDrumBank, 0});
    if (auto found = IndexOf(PresetId{0, wanted.program}))
        return found;
    return IndexOf(PresetId{0, 0});
}

ChannelPrograms::ChannelPrograms(const PresetTable& table) : m_table(&table) {
    Reset(Mode::Gs);
}

void ChannelPrograms::Reset(Mode mode) {
    m_mode = mode;
    std::fill(std::begin(m_bank), std::end(m_bank), 0);
    m_drum.reset();
    m_drum.set(kDrumChannel);
    for (unsigned channel = 0; channel < 16; ++channel)
        m_preset[channel] = m_table->Resolve(PresetId{m_drum[channel] ? kDrumBank : std::uint16_t{0}, 0});
}

void ChannelPrograms::Controller(unsigned channel, std::uint8_t controller, std::uint8_t value) {
    channel &= 15;
    switch (m_mode) {
    case Mode::Gs:
        if (controller == kBankMsb && !m_drum[channel])
            m_bank[channel] = value;
        break;
    case Mode::Xg:
        if (controller == kBankMsb)
            m_drum[channel] = value >= 120;
        else if (controller == kBankLsb)
            m_bank[channel] = value;
        break;
    case Mode::Gm:
        break;
    }
}

std::optional<std::size_t> ChannelPrograms::ProgramChange(unsigned channel, std::uint8_t program) {
    channel &= 15;
    m_preset[channel] =
        m_table->Resolve(PresetId{m_drum[channel] ? kDrumBank : std::uint16_t{m_bank[channel]}, program});
    return m_preset[channel];
}

ChannelPrograms::SysexEffect ChannelPrograms::SystemExclusive(std::span<const std::uint8_t> body) {
    using Kind = SysexEffect::Kind;
    if (body.size() >= 4 && body[0] == kUniversalNonRealTime && body[2] == kGeneralMidi &&
        (body[3] == kGmOn || body[3] == kGm2On)) {
        Reset(Mode::Gm);
        return {Kind::Reset};
    }
    if (body.size() == 9 && body[0] == kRoland && body[2] == kGsModel && body[3] == kDataSet &&
        RolandChecksumMatches(body)) {
        const std::uint32_t address = std::uint32_t{body[4]} << 16 | std::uint32_t{body[5]} << 8 | body[6];
        const std::uint8_t value = body[7];
        if (address == kGsModeSet && (value == 0x00 || value == 0x7F)) {
            Reset(value == 0 ? Mode::Gs : Mode::Gm);
            return {Kind::Reset};
        }
        // "Use for rhythm part" of a part: 0 melodic, 1 and 2 the two drum maps. Parts are
        // numbered from the drum part: part 0 is channel 10, parts 1 to 9 are channels 1 to 9.
        if ((address & 0xFFF0FF) == 0x401015) {
            if (value > 2 || m_mode != Mode::Gs)
                return {Kind::Ignored};
            const unsigned part = (address >> 8) & 0x0F;
            const unsigned channel = part >= 10 ? part : (part == 0 ? kDrumChannel : part - 1);
            m_drum[channel] = value != 0;
            ProgramChange(channel, 0);
            return {Kind::RhythmPart, channel};
        }
        return {};
    }
    if (body.size() == 7 && body[0] == kYamaha && (body[1] & 0xF0) == 0x10 && body[2] == kXgModel &&
        body[3] == 0 && body[4] == 0 && (body[5] == 0x7E || body[5] == 0x7F) && body[6] == 0) {
        Reset(Mode::Xg);
        return {Kind::Reset};
    }
    return {};
}

std::vector<std::size_t> PresetsOfSong(const PlayableSong& song, ChannelPrograms channels) {
    std::vector<std::size_t> found;
    auto add = [&](std::optional<std::size_t> index) {
        if (index && std::find(found.begin(), found.end(), *index) == found.end())
            found.push_back(*index);
    };
    for (const SongEvent& event : song.events) {
        const unsigned channel = event.status & 0x0F;
        if (event.IsSysex())
            channels.SystemExclusive(song.PayloadOf(event));
        else if ((event.status & 0xF0) == 0xB0)
            channels.Controller(channel, event.data1, event.data2);
        else if ((event.status & 0xF0) == 0xC0)
            channels.ProgramChange(channel, event.data1);
        else if ((event.status & 0xF0) == 0x90 && event.data2 != 0)
            add(channels.Preset(channel));
    }
    return found;
}

} // namespace mci
