#pragma once

// The live sound output: a thread that calls the engine's Render for every period of sound. In the
// program it is a FluidSynth audio driver in callback form, so that the sequencer and the
// synthesiser run in the driver's audio thread; for PulseAudio the stream is our own (PulseStream),
// so that the desktop's mixer names it. Benchmarks put a thread of their own in its place.

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

    // Opens the first of the named drivers that this FluidSynth has and that starts; nullptr when
    // none does. `mediaName`: what the mixer shows as playing.
    static std::unique_ptr<AudioDriver> Open(const std::vector<std::string>& names, Engine& engine,
                                             const std::string& mediaName);

    // Stops the driver's thread: after this, nothing renders any more.
    virtual ~AudioDriver() = default;

    // What the mixer shows as playing; only a PulseAudio stream shows it.
    virtual void SetMediaName(const std::string&) {}

protected:
    AudioDriver() = default;
    AudioDriver(const AudioDriver&) = delete;
    AudioDriver& operator=(const AudioDriver&) = delete;
};

} // namespace mci
