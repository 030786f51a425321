#pragma once

// The live sound output: one FluidSynth synthesiser for the whole run, created at the first song,
// and the audio driver whose thread renders through the engine. A notifier thread of ours takes
// the engine's reports and posts the completion notices, so the audio thread never calls into the
// application.

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <semaphore.h>

#include "platform/mci/AudioDriver.h"
#include "platform/mci/FluidSynthSink.h"
#include "platform/mci/Output.h"

namespace mci {

struct LiveOutputOptions {
    std::vector<std::string> soundFonts;   // empty: the system's General MIDI SoundFonts
    std::vector<std::string> audioDrivers; // empty: AudioDriver::DefaultDrivers()
};

class LiveOutput final : public Output {
public:
    explicit LiveOutput(LiveOutputOptions options);
    ~LiveOutput() override;

    bool IsOffline() const override { return false; }
    MCIERROR PrepareForSong() override;
    bool PrepareForWave() override;
    bool Submit(const EngineCommand& command) override;
    MCIERROR WaitForEnd(std::uint32_t serial) override;
    void RenderOffline(float*, float*, std::size_t) override {}

private:
    bool StartDriver();
    void NotifierLoop();
    static void Wake(void* self);

    LiveOutputOptions m_options;
    std::unique_ptr<FluidSynthSink> m_synth;
    std::unique_ptr<AudioDriver> m_driver;

    sem_t m_wake;
    std::thread m_notifier;
    std::atomic<bool> m_stopping{false};
    std::mutex m_endedMutex;
    std::condition_variable m_ended;
};

} // namespace mci
