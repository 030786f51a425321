#include "platform/mci/AudioDriver.h"

#include <algorithm>

#include <fluidsynth.h>

#include "platform/mci/Engine.h"
#include "platform/mci/FluidLog.h"
#include "platform/mci/MidiSink.h"
#include "platform/mci/PulseStream.h"

namespace mci {

namespace {

// 512 frames a period, four periods: about 46 ms between a command and its sound, short enough
// for stop and seek to feel immediate, long enough not to break up on a busy machine.
constexpr int kPeriodSize = 512;
constexpr int kPeriods = 4;

int RenderCallback(void* data, int len, int, float*[], int nout, float* out[]) {
    if (len <= 0 || nout < 2)
        return FLUID_OK;
    // The driver hands out zeroed buffers; the engine writes the sound into the first two.
    static_cast<Engine*>(data)->Render(out[0], out[1], static_cast<std::size_t>(len));
    return FLUID_OK;
}

class FluidAudioDriver final : public AudioDriver {
public:
    FluidAudioDriver(fluid_settings_t* settings, fluid_audio_driver_t* driver)
        : m_settings(settings), m_driver(driver) {}
    ~FluidAudioDriver() override {
        // Joins the audio thread.
        delete_fluid_audio_driver(m_driver);
        delete_fluid_settings(m_settings);
    }

private:
    fluid_settings_t* m_settings;
    fluid_audio_driver_t* m_driver;
};

class PulseAudioDriver final : public AudioDriver {
public:
    explicit PulseAudioDriver(std::unique_ptr<PulseStream> pulse) : m_pulse(std::move(pulse)) {}
    void SetMediaName(const std::string& name) override { m_pulse->SetMediaName(name); }

private:
    std::unique_ptr<PulseStream> m_pulse;
};

void RenderEngine(void* engine, float* left, float* right, std::size_t frames) {
    static_cast<Engine*>(engine)->Render(left, right, frames);
}

void CollectOption(void* data, const char*, const char* option) {
    static_cast<std::vector<std::string>*>(data)->emplace_back(option);
}

} // namespace

const std::vector<std::string>& AudioDriver::DefaultDrivers() {
    static const std::vector<std::string> drivers = {"pulseaudio", "pipewire", "alsa"};
    return drivers;
}

std::unique_ptr<AudioDriver> AudioDriver::Open(const std::vector<std::string>& names, Engine& engine,
                                               const std::string& mediaName) {
    QuietFluidSynthLogging();
    for (const std::string& name : names) {
        if (name == "pulseaudio") {
            if (auto pulse =
                    PulseStream::Open(&RenderEngine, &engine, kSampleRate, kPeriodSize, kPeriods, mediaName))
                return std::make_unique<PulseAudioDriver>(std::move(pulse));
            continue;
        }
        fluid_settings_t* settings = new_fluid_settings();
        if (!settings)
            return nullptr;
        std::vector<std::string> available;
        fluid_settings_foreach_option(settings, "audio.driver", &available, CollectOption);
        if (std::find(available.begin(), available.end(), name) == available.end()) {
            delete_fluid_settings(settings);
            continue;
        }
        fluid_settings_setstr(settings, "audio.driver", name.c_str());
        fluid_settings_setnum(settings, "synth.sample-rate", kSampleRate);
        fluid_settings_setint(settings, "audio.period-size", kPeriodSize);
        fluid_settings_setint(settings, "audio.periods", kPeriods);
        fluid_audio_driver_t* driver = nullptr;
        {
            // A driver that cannot start is expected here; the next one is tried.
            FluidErrorsMuted muted;
            driver = new_fluid_audio_driver2(settings, RenderCallback, &engine);
        }
        if (driver)
            return std::make_unique<FluidAudioDriver>(settings, driver);
        delete_fluid_settings(settings);
    }
    return nullptr;
}

} // namespace mci
