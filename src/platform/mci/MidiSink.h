#pragma once

// Where the sequencer sends MIDI and takes its sound from: the FluidSynth synthesiser in the
// program, a recording of every message with the frame it arrived at in the tests. All calls come
// from the thread that renders (the audio thread when live), one at a time.

#include <cstddef>
#include <cstdint>
#include <span>

namespace mci {

struct PlayableSong;

// The one sample rate of the sequencer and its output; song times are turned into frames of it.
inline constexpr std::uint32_t kSampleRate = 44100;

class MidiSink {
public:
    virtual ~MidiSink() = default;

    // A channel message (0x80..0xEF); data2 is 0 for program change and channel pressure.
    virtual void ShortMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) = 0;
    // A system exclusive message without its F0 and F7 framing bytes.
    virtual void SystemExclusive(std::span<const std::uint8_t> body) = 0;
    // Writes the next frames of sound into both buffers, replacing what they held.
    virtual void Render(float* left, float* right, std::size_t frames) = 0;
    // Makes ready what the song will need from the first block it plays in (a synthesiser loads
    // the presets it selects). Called before the song plays, by a thread the sink is lent to or by
    // the thread that renders, never from inside a render.
    virtual void PrepareFor(const PlayableSong&) {}

    // Ends every note on all 16 channels but lets them ring out: all notes off, then sustain off
    // (all notes off alone leaves pedalled notes sounding). Used when a song reaches its end.
    void ReleaseAll();
    // Ends every note at once: all notes off, sustain off, all sound off on all 16 channels. The
    // rest of each channel's state (program, controllers, pitch bend) is kept. Used by stop, seek
    // and close.
    void SilenceAll();
};

} // namespace mci
