#pragma once

// The live sound output: a FluidSynth audio driver in callback form whose callback is the
// engine's Render, so that the sequencer and the synthesiser run in the driver's audio thread.
// For PulseAudio the stream is our own (PulseStream), so that the desktop's mixer names it.

#include <memory>
#include <string>
#include <vector>

typedef struct _fluid_audio_driver_t fluid_audio_driver_t;
typedef struct _fluid_hashtable_t fluid_settings_t;

namespace mci {

class Engine;
class PulseStream;

class AudioDriver {
public:
    // The drivers tried when none are named: PulseAudio (which also serves PipeWire desktops),
    // PipeWire where FluidSynth was built with it, then ALSA.
    static const std::vector<std::string>& DefaultDrivers();

    // Opens the first of the named drivers that this FluidSynth has and that starts; nullptr when
    // none does. The engine must outlive the driver. `mediaName`: what the mixer shows as playing.
    static std::unique_ptr<AudioDriver> Open(const std::vector<std::string>& names, Engine& engine,
                                             const std::string& mediaName);
    ~AudioDriver();
    AudioDriver(const AudioDriver&) = delete;
    AudioDriver& operator=(const AudioDriver&) = delete;

    const std::string& Name() const { return m_name; }
    // What the mixer shows as playing; only a PulseAudio stream shows it.
    void SetMediaName(const std::string& name);

private:
    AudioDriver(fluid_settings_t* settings, fluid_audio_driver_t* driver, std::string name);
    explicit AudioDriver(std::unique_ptr<PulseStream> pulse);

    fluid_settings_t* m_settings = nullptr;
    fluid_audio_driver_t* m_driver = nullptr;
    std::unique_ptr<PulseStream> m_pulse;
    std::string m_name;
};

} // namespace mci
