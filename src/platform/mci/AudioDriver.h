#pragma once

// The live sound output: a thread that calls the engine's Render for every period of sound. In the
// program it is a FluidSynth audio driver in callback form, so that the sequencer and the
// synthesiser run in the driver's audio thread; benchmarks put a thread of their own in its place.

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace mci {

class Engine;

class AudioDriver {
public:
    // Opens the driver for an engine, which must outlive it.
    using Opener = std::function<std::unique_ptr<AudioDriver>(Engine& engine)>;

    // The drivers tried when none are named: PulseAudio (which also serves PipeWire desktops),
    // PipeWire where FluidSynth was built with it, then ALSA.
    static const std::vector<std::string>& DefaultDrivers();

    // Opens the first of the named FluidSynth drivers that this FluidSynth has and that starts;
    // nullptr when none does.
    static std::unique_ptr<AudioDriver> Open(const std::vector<std::string>& names, Engine& engine);

    // Stops the driver's thread: after this, nothing renders any more.
    virtual ~AudioDriver() = default;

protected:
    AudioDriver() = default;
    AudioDriver(const AudioDriver&) = delete;
    AudioDriver& operator=(const AudioDriver&) = delete;
};

} // namespace mci
