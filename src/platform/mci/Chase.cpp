#include "platform/mci/Chase.h"

#include <unordered_map>

namespace mci {

namespace {

// Controllers with a meaning beyond their own value, handled apart from plain controllers.
constexpr std::uint8_t kBankMsb = 0, kBankLsb = 32;
constexpr std::uint8_t kDataMsb = 6, kDataLsb = 38, kDataIncrement = 96, kDataDecrement = 97;
constexpr std::uint8_t kNrpnLsb = 98, kNrpnMsb = 99, kRpnLsb = 100, kRpnMsb = 101;
constexpr std::uint8_t kAllSoundOff = 120, kAllNotesOff = 123, kOmniOff = 124, kOmniOn = 125, kMono = 126,
                       kPoly = 127;

// What a message sets, as a key: a later message with the same key makes an earlier one useless.
enum class Slot : std::uint8_t { Controller, Program, PitchBend, Pressure, Parameter, OmniMode, PolyMode };

std::uint64_t Key(Slot slot, unsigned channel, std::uint64_t detail = 0) {
    return (detail << 12) | (static_cast<std::uint64_t>(slot) << 4) | channel;
}

struct ChannelState {
    std::int16_t bankMsb = -1, bankLsb = -1;
    // The parameter that data entry goes to: set by the last of CC 99/98 (non-registered) or
    // CC 101/100 (registered).
    bool registered = true;
    std::int16_t numberMsb = -1, numberLsb = -1;
};

// One chased entry: the song event that made it, and whether it must carry bank or parameter
// selection along.
struct Entry {
    std::size_t eventIndex;
    std::int16_t bankMsb, bankLsb;
    bool registered;
    std::int16_t numberMsb, numberLsb;
};

} // namespace

ChaseList BuildChase(const PlayableSong& song, std::uint64_t frame) {
    const std::size_t end = song.FirstEventAt(frame);
    ChannelState channels[16];
    std::vector<Entry> entries;
    std::vector<bool> kept;
    std::unordered_map<std::uint64_t, std::size_t> lastWrite; // key -> index into entries

    auto write = [&](std::uint64_t key, const Entry& entry) {
        auto [it, inserted] = lastWrite.try_emplace(key, entries.size());
        if (!inserted) {
            kept[it->second] = false;
            it->second = entries.size();
        }
        entries.push_back(entry);
        kept.push_back(true);
    };
    auto always = [&](const Entry& entry) {
        entries.push_back(entry);
        kept.push_back(true);
    };

    for (std::size_t i = 0; i < end; ++i) {
        const SongEvent& event = song.events[i];
        if (event.IsSysex()) {
            always(Entry{i, -1, -1, true, -1, -1});
            continue;
        }
        const unsigned channel = event.status & 0x0F;
        ChannelState& state = channels[channel];
        const Entry plain{i, -1, -1, true, -1, -1};
        switch (event.status & 0xF0) {
        case 0xB0: {
            const std::uint8_t controller = event.data1;
            if (controller == kAllSoundOff || controller == kAllNotesOff)
                break;
            if (controller == kBankMsb)
                state.bankMsb = event.data2;
            else if (controller == kBankLsb)
                state.bankLsb = event.data2;
            if (controller == kNrpnMsb || controller == kNrpnLsb || controller == kRpnMsb ||
                controller == kRpnLsb) {
                const bool registered = controller == kRpnMsb || controller == kRpnLsb;
                if (registered != state.registered) {
                    // Switching between the two kinds forgets the half of the number not yet given.
                    state.registered = registered;
                    state.numberMsb = state.numberLsb = -1;
                }
                if (controller == kRpnMsb || controller == kNrpnMsb)
                    state.numberMsb = event.data2;
                else
                    state.numberLsb = event.data2;
            }
            if (controller == kDataMsb || controller == kDataLsb) {
                const std::uint64_t parameter = (std::uint64_t{state.registered} << 16) |
                                                (static_cast<std::uint64_t>(state.numberMsb & 0xFF) << 8) |
                                                static_cast<std::uint64_t>(state.numberLsb & 0xFF);
                write(Key(Slot::Parameter, channel, (parameter << 8) | controller),
                      Entry{i, -1, -1, state.registered, state.numberMsb, state.numberLsb});
            } else if (controller == kDataIncrement || controller == kDataDecrement) {
                // Steps build on the value before them, so every one of them is kept.
                always(Entry{i, -1, -1, state.registered, state.numberMsb, state.numberLsb});
            } else if (controller == kOmniOff || controller == kOmniOn) {
                write(Key(Slot::OmniMode, channel), plain);
            } else if (controller == kMono || controller == kPoly) {
                write(Key(Slot::PolyMode, channel), plain);
            } else {
                write(Key(Slot::Controller, channel, controller), plain);
            }
            break;
        }
        case 0xC0:
            write(Key(Slot::Program, channel), Entry{i, state.bankMsb, state.bankLsb, true, -1, -1});
            break;
        case 0xD0:
            write(Key(Slot::Pressure, channel), plain);
            break;
        case 0xE0:
            write(Key(Slot::PitchBend, channel), plain);
            break;
        default: // notes and polyphonic pressure belong to notes, which are not chased
            break;
        }
    }

    ChaseList chase;
    for (std::size_t k = 0; k < entries.size(); ++k) {
        if (!kept[k])
            continue;
        const Entry& entry = entries[k];
        SongEvent event = song.events[entry.eventIndex];
        event.frame = 0;
        const std::uint8_t control = static_cast<std::uint8_t>(0xB0 | (event.status & 0x0F));
        const std::uint8_t kind = event.status & 0xF0;
        if (kind == 0xC0) {
            if (entry.bankMsb >= 0)
                chase.events.push_back(
                    SongEvent{0, 0, 0, control, kBankMsb, static_cast<std::uint8_t>(entry.bankMsb)});
            if (entry.bankLsb >= 0)
                chase.events.push_back(
                    SongEvent{0, 0, 0, control, kBankLsb, static_cast<std::uint8_t>(entry.bankLsb)});
        } else if (kind == 0xB0 && (event.data1 == kDataMsb || event.data1 == kDataLsb ||
                                    event.data1 == kDataIncrement || event.data1 == kDataDecrement)) {
            const std::uint8_t msb = entry.registered ? kRpnMsb : kNrpnMsb;
            const std::uint8_t lsb = entry.registered ? kRpnLsb : kNrpnLsb;
            if (entry.numberMsb >= 0)
                chase.events.push_back(
                    SongEvent{0, 0, 0, control, msb, static_cast<std::uint8_t>(entry.numberMsb)});
            if (entry.numberLsb >= 0)
                chase.events.push_back(
                    SongEvent{0, 0, 0, control, lsb, static_cast<std::uint8_t>(entry.numberLsb)});
        }
        chase.events.push_back(event);
    }
    return chase;
}

} // namespace mci
