#pragma once

// In-memory RIFF WAVE sounds for the play-sound function: parsed and converted on the control
// thread into stereo floats at kSampleRate, so that the audio thread only has to add them in.

#include <cstddef>
#include <memory>
#include <vector>

namespace mci {

struct WaveBuffer {
    std::vector<float> left, right;
    std::size_t Frames() const { return left.size(); }
};

// PCM, 8 or 16 bits, mono or stereo, any sample rate (resampled linearly). nullptr when the bytes
// are not such a WAVE file. Sounds longer than ten minutes are refused: the play-sound function is
// for short notices, and the limit keeps a damaged header from asking for unbounded memory.
std::unique_ptr<WaveBuffer> DecodeWave(const void* bytes, std::size_t size);

} // namespace mci
