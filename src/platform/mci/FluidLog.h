#pragma once

// FluidSynth's own logging: it prints warnings and information to the terminal by default, which a
// desktop program should not do. We keep its real errors and drop the rest.

namespace mci {

// Installs our log handlers once; later calls do nothing.
void QuietFluidSynthLogging();

// While an instance lives, FluidSynth's errors and ALSA's are dropped too: trying an audio driver
// that is not there (no PulseAudio running, no sound card) is expected, and the fallback decides
// what the user sees.
class FluidErrorsMuted {
public:
    FluidErrorsMuted();
    ~FluidErrorsMuted();
    FluidErrorsMuted(const FluidErrorsMuted&) = delete;
    FluidErrorsMuted& operator=(const FluidErrorsMuted&) = delete;
};

} // namespace mci
