#include "platform/mci/MidiSink.h"

namespace mci {

namespace {
constexpr std::uint8_t kControlChange = 0xB0;
constexpr std::uint8_t kSustain = 64;
constexpr std::uint8_t kAllSoundOff = 120;
constexpr std::uint8_t kAllNotesOff = 123;
} // namespace

void MidiSink::ReleaseAll() {
    for (std::uint8_t channel = 0; channel < 16; ++channel) {
        ShortMessage(kControlChange | channel, kAllNotesOff, 0);
        ShortMessage(kControlChange | channel, kSustain, 0);
    }
}

void MidiSink::SilenceAll() {
    for (std::uint8_t channel = 0; channel < 16; ++channel) {
        ShortMessage(kControlChange | channel, kAllNotesOff, 0);
        ShortMessage(kControlChange | channel, kSustain, 0);
        ShortMessage(kControlChange | channel, kAllSoundOff, 0);
    }
}

} // namespace mci
