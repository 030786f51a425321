#pragma once

// Holds the synthesiser's sound below full scale. Our gain is set so that typical songs peak a few
// dB below full scale, as other desktop players do; dense songs would go over it and clip. When a
// frame would exceed the ceiling, the gain drops at once to what keeps it at the ceiling (no
// sample ever goes over), then recovers smoothly. It runs in the audio callback: no allocation,
// no lock, a few operations a frame.

#include <cstddef>

namespace mci {

class PeakLimiter {
public:
    // Ceiling in linear amplitude; release: the time constant of the gain's recovery, in frames.
    explicit PeakLimiter(float ceiling = 0.891f /* -1 dBFS */, float releaseFrames = 0.15f * 44100.0f);

    void Process(float* left, float* right, std::size_t frames);

private:
    float m_ceiling;
    float m_release; // share of the way back to the wanted gain taken each frame
    float m_gain = 1.0f;
};

} // namespace mci
